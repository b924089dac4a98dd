// The indicators of the screening catalogue: one abstract base and its four
// kinds. The catalogue (orbe/indicators/index_mgr.h) owns every object.
#ifndef ORBE_INDICATORS_INDEX_BASE_H_
#define ORBE_INDICATORS_INDEX_BASE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/indicators/index_calc.h"
#include "orbe/platform/types.h"

// Value types of an indicator and of a value (vtParam). Any other number
// means "no value"; 5 is the one used for it.
enum DATA_TYPE : std::int32_t {
  DATA_TYPE_INT = 0,
  DATA_TYPE_DOUBLE = 1,
  DATA_TYPE_INT2 = 2,  // a second 32-bit integer type, converted exactly like 0
  DATA_TYPE_STRING = 3,
  DATA_TYPE_INT64 = 4,
  DATA_TYPE_NONE = 5,
};

// The kind field of every indicator.
enum INDEX_KIND : std::int32_t {
  INDEX_KIND_SYS = 0,
  INDEX_KIND_USR = 1,
  INDEX_KIND_HQ = 2,
  INDEX_KIND_TQL = 3,
};

class IndexBase {
 public:
  virtual ~IndexBase() = default;

  std::int32_t kind = INDEX_KIND_SYS;
  std::int32_t datatype = DATA_TYPE_INT;
  std::int32_t unittype = 0;  // IIndexMgr::UNIT_TYPE
  std::string info;
  std::string name;  // unique over the catalogue, compared byte for byte
  std::string alias;

 protected:
  explicit IndexBase(std::int32_t k) : kind(k) {}
};

// A field of the host's real-time quote record.
class HqIndex : public IndexBase {
 public:
  HqIndex() : IndexBase(INDEX_KIND_HQ) {}

  std::string structtype;
  std::int32_t structoffset = 0;  // never negative
  std::int32_t structlength = 0;  // never negative
};

// One formal parameter of a system indicator and the marker it replaces.
struct SysIndexParam {
  std::string field;
  std::string flag;
};

// A column of a data-service table, fetched by SQL.
class SysIndex : public IndexBase {
 public:
  SysIndex() : IndexBase(INDEX_KIND_SYS) {}

  std::string tablename;
  std::string tablefield;
  std::string tree;
  std::string key;
  std::int32_t keytype = 0;  // IIndexMgr::CODE_TYPE
  std::string condition;
  std::int32_t specialtype = 0;
  std::vector<SysIndexParam> params;
  std::string id;
};

// A system indicator fetched by a TQL request through the host.
class SysIndexTQL : public IndexBase {
 public:
  static constexpr std::int32_t kDefaultStringLength = 20;
  // The longest string value a query-language reply carries.
  static constexpr std::int32_t kMaxStringLength = 4096;

  SysIndexTQL() : IndexBase(INDEX_KIND_TQL) {}

  std::string tree;
  std::string constname;
  std::vector<std::string> flags;
  std::int32_t strmaxlength = kDefaultStringLength;  // 1..kMaxStringLength
  std::string id;
};

// A Python function over other indicators. `module` and `function` own the
// imported module and its attribute named `codefile`, released with the
// indicator (the function first); refs are not owned.
class UsrIndex : public IndexBase {
 public:
  UsrIndex() : IndexBase(INDEX_KIND_USR) {}
  ~UsrIndex() override {
    function.reset();
    module.reset();
  }
  UsrIndex(const UsrIndex&) = delete;
  UsrIndex& operator=(const UsrIndex&) = delete;

  std::vector<std::string> refnames;
  std::vector<IndexBase*> refs;
  std::string codefile;  // module name and function name at once
  orbe::ScriptRef module;
  orbe::ScriptRef function;
  std::string tree;
};

#endif  // ORBE_INDICATORS_INDEX_BASE_H_
