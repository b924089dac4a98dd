// CwFileUtil's dictionary members: thin adapters from a session to its
// dictionary, kept apart so that code needing only the dictionary (tools,
// fuzzers) does not pull in the session class.
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/cw_file_util.h"

bool CwFileUtil::LoadCWSysData(OrbeClientSession* session, const char* directory) {
  if (session == nullptr) return false;
  UnLoadCWSysData(session);
  if (directory == nullptr) return false;
  return orbe::LoadDictionaryFiles(session->Dictionary(), directory);
}

void CwFileUtil::UnLoadCWSysData(OrbeClientSession* session) {
  if (session != nullptr) session->Dictionary().Clear();
}

// A missing session or text finds nothing, as an unknown table would.
namespace {

const orbe::CwDictionary* DictionaryOf(const OrbeClientSession* session) {
  return session == nullptr ? nullptr : &session->Dictionary();
}

}  // namespace

long CwFileUtil::GetAllTable(OrbeClientSession* session, tagMemTableInfo* tables) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary == nullptr ? 0 : dictionary->GetAllTable(tables);
}

long CwFileUtil::GetFieldInfo(OrbeClientSession* session, DWORD tableNumber, tagMemFieldInfo* fields) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary == nullptr ? 0 : dictionary->GetFieldInfo(tableNumber, fields);
}

bool CwFileUtil::GetOneFieldInfo(OrbeClientSession* session, DWORD tableNumber, const char* fieldText,
                                 tagMemFieldInfo* field) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary != nullptr && fieldText != nullptr &&
         dictionary->GetOneFieldInfo(tableNumber, fieldText, field);
}

bool CwFileUtil::GetOneFieldInfo2(OrbeClientSession* session, DWORD tableNumber, const char* fieldName,
                                  tagMemFieldInfo* field) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary != nullptr && fieldName != nullptr &&
         dictionary->GetOneFieldInfo2(tableNumber, fieldName, field);
}

long CwFileUtil::GetFieldID(OrbeClientSession* session, DWORD tableNumber, unsigned char* ids, long maxCount) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary == nullptr ? 0 : dictionary->GetFieldID(tableNumber, ids, maxCount);
}

bool CwFileUtil::GetOneFieldID(OrbeClientSession* session, DWORD tableNumber, const char* fieldText,
                               unsigned char* id) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  return dictionary != nullptr && fieldText != nullptr && dictionary->GetOneFieldID(tableNumber, fieldText, id);
}

long CwFileUtil::GetConstList(OrbeClientSession* session, const char* constClass, tagMemConstInfo* consts) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  if (dictionary == nullptr || constClass == nullptr) return 0;
  return dictionary->GetConstList(constClass, consts);
}

tagMemConstInfo CwFileUtil::GetConst(OrbeClientSession* session, const char* constClass, const char* code) {
  const orbe::CwDictionary* dictionary = DictionaryOf(session);
  if (dictionary == nullptr || constClass == nullptr || code == nullptr) return tagMemConstInfo{};
  return dictionary->GetConst(constClass, code);
}
