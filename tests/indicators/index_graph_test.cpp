#include "indicators/index_graph.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A catalogue in miniature: owns the indicators, hands out the raw list.
struct Graph {
  template <typename T>
  T* Add(const std::string& name, std::int32_t unit = 0) {
    auto index = std::make_unique<T>();
    index->name = name;
    index->unittype = unit;
    T* raw = index.get();
    owned.push_back(std::move(index));
    all.push_back(raw);
    return raw;
  }
  std::vector<std::unique_ptr<IndexBase>> owned;
  std::vector<IndexBase*> all;
};

// A chain of `length` user indicators, each reading the next, the last a system one.
UsrIndex* Chain(Graph& graph, int length) {
  IndexBase* next = graph.Add<SysIndex>("base");
  UsrIndex* head = nullptr;
  for (int i = length; i >= 1; --i) {
    head = graph.Add<UsrIndex>("u" + std::to_string(i));
    head->refs = {next};
    next = head;
  }
  return head;
}

TEST(IndexGraphTest, UnitTypeIsTheCommonUnitOfTheReferences) {
  Graph graph;
  HqIndex* price = graph.Add<HqIndex>("price", 0);
  SysIndex* revenue = graph.Add<SysIndex>("revenue", 1);
  SysIndex* shares_a = graph.Add<SysIndex>("shares_a", 2);
  SysIndex* shares_b = graph.Add<SysIndex>("shares_b", 2);
  UsrIndex* mixed = graph.Add<UsrIndex>("mixed", 3);
  mixed->refs = {price, revenue};
  UsrIndex* shares = graph.Add<UsrIndex>("shares");
  shares->refs = {shares_a, shares_b};
  UsrIndex* nested = graph.Add<UsrIndex>("nested");
  nested->refs = {shares, shares_b};  // a user reference counts with its derived unit
  UsrIndex* lonely = graph.Add<UsrIndex>("lonely", 2);
  orbe::DeriveUnitTypes(graph.all);
  EXPECT_EQ(mixed->unittype, 0);
  EXPECT_EQ(shares->unittype, 2);
  EXPECT_EQ(nested->unittype, 2);
  EXPECT_EQ(lonely->unittype, 0);   // no references
  EXPECT_EQ(revenue->unittype, 1);  // others keep theirs
}

TEST(IndexGraphTest, BaseIndexesDepthFirstWithDuplicates) {
  Graph graph;
  SysIndex* a = graph.Add<SysIndex>("a");
  HqIndex* b = graph.Add<HqIndex>("b");
  UsrIndex* inner = graph.Add<UsrIndex>("inner");
  inner->refs = {b, a};
  UsrIndex* outer = graph.Add<UsrIndex>("outer");
  outer->refs = {a, inner, b};
  std::vector<IndexBase*> out;
  orbe::AppendBaseIndexes(outer, out);
  EXPECT_EQ(out, (std::vector<IndexBase*>{a, b, a, b}));
  orbe::AppendBaseIndexes(nullptr, out);
  EXPECT_EQ(out.size(), 4u);
}

TEST(IndexGraphTest, ChainsUpToFiveHundredPassAndLongerOnesFail) {
  Graph ok;
  Chain(ok, 500);
  EXPECT_FALSE(orbe::HasReferenceCycle(ok.all));
  Graph deep;
  Chain(deep, 501);
  EXPECT_TRUE(orbe::HasReferenceCycle(deep.all));
}

TEST(IndexGraphTest, CyclesAreFoundAndDiamondsAreNot) {
  Graph graph;
  UsrIndex* a = graph.Add<UsrIndex>("a");
  UsrIndex* b = graph.Add<UsrIndex>("b");
  a->refs = {b};
  EXPECT_FALSE(orbe::HasReferenceCycle(graph.all));
  b->refs = {a};
  EXPECT_TRUE(orbe::HasReferenceCycle(graph.all));
  b->refs = {b};
  EXPECT_TRUE(orbe::HasReferenceCycle(graph.all));

  // Forty levels of two paths each: walked once per indicator, not 2^40 times.
  Graph diamond;
  IndexBase* below = diamond.Add<SysIndex>("base");
  for (int level = 0; level < 40; ++level) {
    UsrIndex* left = diamond.Add<UsrIndex>("l" + std::to_string(level));
    UsrIndex* right = diamond.Add<UsrIndex>("r" + std::to_string(level));
    left->refs = {below};
    right->refs = {below};
    UsrIndex* join = diamond.Add<UsrIndex>("j" + std::to_string(level));
    join->refs = {left, right};
    below = join;
  }
  EXPECT_FALSE(orbe::HasReferenceCycle(diamond.all));
}

}  // namespace
