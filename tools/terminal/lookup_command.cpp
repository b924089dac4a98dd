// lookup SUBCOMMAND ... : the module's security, company, industry and board
// lookups against a data service, with the host's boards behind them. Input
// and output are UTF-8.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands.h"
#include "connection_options.h"
#include "orbe/platform/echo_text.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/text.h"
#include "terminal_output.h"

namespace orbe::terminal {
namespace {

constexpr int kTextSize = 64;

struct LookupContext {
  OrbeClientSession* session;
  const HostMarket* market;
  const std::vector<std::string>& args;  // GBK, after the subcommand
  bool sub;                              // --sub
};

using BufferLookup = void (*)(OrbeClientSession*, char*, int, const char*);

std::string Lookup(BufferLookup lookup, OrbeClientSession* session, const std::string& key) {
  char out[kTextSize] = {};
  lookup(session, out, kTextSize, key.c_str());
  return FieldText(out, sizeof out);
}

std::string Abbreviation(OrbeClientSession* session, const std::string& code) {
  const std::string stock = Lookup(CwFileUtil::GetSecuAbbrByCode, session, code);
  return stock.empty() ? Lookup(CwFileUtil::GetFundAbbrByCode, session, code) : stock;
}

void PrintCodes(OrbeClientSession* session, const std::vector<std::string>& codes) {
  for (const std::string& code : codes) PrintLine(code + " " + Abbreviation(session, code));
}

int LookupCode(const LookupContext& context) {
  const std::string& code = context.args[0];
  const std::string abbreviation = Abbreviation(context.session, code);
  if (abbreviation.empty()) return Fail(1, "unknown security " + GbkToUtf8(code));
  const std::string inner = Lookup(CwFileUtil::GetInnerCodeBySecuCode, context.session, code);
  const std::string category = Lookup(CwFileUtil::GetSecuCategoryByInnercode, context.session, inner);
  PrintField("code", code);
  PrintField("abbreviation", abbreviation);
  PrintField("company", Lookup(CwFileUtil::GetCompanyCodeBySecuCode, context.session, code));
  PrintField("inner code", inner);
  const tagMemConstInfo category_text = CwFileUtil::GetConst(context.session, "201", category.c_str());
  PrintField("category", category + " " + FieldText(category_text.text));
  for (const tagLISTEDCMP& row : CwFileUtil::GetAlllistedCmp(context.session)) {
    if (FieldText(row.SecuCode) != code) continue;
    const std::pair<const char*, std::string> industries[] = {
        {"industry 974", FieldText(row.Industry974)}, {"industry 997", FieldText(row.Industry997)},
        {"industry 996", FieldText(row.Industry996)}, {"industry 994", FieldText(row.Industry994)},
        {"industry 966", FieldText(row.Industry966)}, {"industry 964", FieldText(row.Industry964)}};
    for (const auto& [label, value] : industries) PrintField(label, value);
    break;
  }
  return 0;
}

int LookupCompany(const LookupContext& context) {
  const std::string code = Lookup(CwFileUtil::GetSecuCode, context.session, context.args[0]);
  if (code.empty()) return Fail(1, "unknown company " + GbkToUtf8(context.args[0]));
  PrintField("company", context.args[0]);
  PrintField("code", code);
  PrintField("abbreviation", Lookup(CwFileUtil::GetSecuAbbr, context.session, context.args[0]));
  return 0;
}

int LookupIndustry(const LookupContext& context) {
  const int classification = std::atoi(context.args[0].c_str());
  const std::string& industry = context.args[1];
  const std::vector<std::string> companies =
      context.sub ? CwFileUtil::GetHyAndSubHyCmpCode(context.session, classification, industry.c_str())
                  : CwFileUtil::GetHyCmpCode(context.session, classification, industry.c_str());
  for (const std::string& company : companies) {
    PrintLine(company + " " + Lookup(CwFileUtil::GetSecuCode, context.session, company) + " " +
              Lookup(CwFileUtil::GetSecuAbbr, context.session, company));
  }
  return 0;
}

// The module reads the condition board, the own list and custom and concept
// boards one by one; the other quote boards come from the host itself.
std::vector<std::string> BoardCodes(const LookupContext& context, const std::string& name) {
  if (name == "条件股") return CwFileUtil::GetTJGBoard();
  if (name == "自选股") return CwFileUtil::GetZXGBoard();
  if (name == "持仓") return CwFileUtil::GetCCGBoard();
  std::vector<std::string> codes = CwFileUtil::GetZDYBoard(name.c_str());
  if (codes.empty()) codes = CwFileUtil::GetConceptContentStock(name.c_str());
  if (!codes.empty() || context.market == nullptr) return codes;
  for (const HostBoard& board : context.market->QuoteBoards()) {
    if (board.name == name) return board.codes;
  }
  return codes;
}

int LookupBoard(const LookupContext& context) {
  const std::vector<std::string> codes = BoardCodes(context, context.args[0]);
  if (codes.empty()) return Fail(1, "no board " + GbkToUtf8(context.args[0]) + " or it is empty");
  PrintCodes(context.session, codes);
  return 0;
}

int LookupConcepts(const LookupContext&) {
  for (const std::string& name : CwFileUtil::GetConceptBoard()) PrintLine(name);
  return 0;
}

struct Subcommand {
  const char* name;
  std::size_t arguments;
  int (*run)(const LookupContext& context);
  const char* usage;
};

constexpr Subcommand kSubcommands[] = {
    {"code", 1, LookupCode, "code CODE          abbreviation, company, inner code, category, industries"},
    {"company", 1, LookupCompany, "company CODE       security code and abbreviation of a company"},
    {"industry", 2, LookupIndustry, "industry CLASS CODE [--sub]  companies of an industry"},
    {"board", 1, LookupBoard, "board NAME         codes of a host board (quote, custom or concept)"},
    {"concept", 0, LookupConcepts, "concept            names of the concept boards"},
};

int Usage() {
  std::string text = std::string("usage: orbe-terminal lookup ") + kConnectionUsage + " SUBCOMMAND ...";
  for (const Subcommand& subcommand : kSubcommands) text += std::string("\n  ") + subcommand.usage;
  return Fail(2, text);
}

}  // namespace

int RunLookup(const CommandArgs& arguments) {
  CommandArgs args = arguments;
  ConnectionOptions options;
  std::string error;
  if (!TakeConnectionOptions(args, options, &error)) return Fail(2, error);
  const auto sub = std::find(args.begin(), args.end(), "--sub");
  const bool with_sub = sub != args.end();
  if (with_sub) args.erase(sub);
  for (const std::string& arg : args) {
    if (arg.starts_with("-")) return Fail(2, "unknown option " + EchoText(arg) + " (see orbe-terminal lookup --help)");
  }
  if (args.empty()) return Usage();
  const auto subcommand = std::find_if(std::begin(kSubcommands), std::end(kSubcommands),
                                       [&](const Subcommand& s) { return args[0] == s.name; });
  if (subcommand == std::end(kSubcommands) || args.size() != subcommand->arguments + 1) return Usage();
  const std::unique_ptr<TerminalHost> host = ConnectHost(options, &error);
  if (!host) return Fail(1, error);
  std::vector<std::string> gbk;
  for (std::size_t i = 1; i < args.size(); ++i) gbk.push_back(Utf8ToGbk(args[i]));
  return subcommand->run({host->session->Session(), host->market.get(), gbk, with_sub});
}

}  // namespace orbe::terminal
