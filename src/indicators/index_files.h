// Readers of the three catalogue files and the writer of the user file.
// Readers hand each indicator to a sink as soon as it is read, so that a
// duplicate name stops the load at once.
#ifndef ORBE_INDICATORS_INDEX_FILES_H_
#define ORBE_INDICATORS_INDEX_FILES_H_

#include <memory>
#include <string>
#include <vector>

#include "orbe/indicators/index_base.h"

namespace orbe {

class IndexSink {
 public:
  virtual ~IndexSink() = default;
  // False stops the read: the name is taken.
  virtual bool Add(std::unique_ptr<IndexBase> index) = 0;
  virtual void Progress(float stage_end, float percent) = 0;
};

// Overall progress at which the system and the user file stages end.
inline constexpr float kSysStageEnd = 90;
inline constexpr float kUsrStageEnd = 95;

bool ReadHqIndexFile(const std::string& path, IndexSink& sink);
// INI or XML by the path's last four characters (".ini", ".xml", any case).
bool ReadSysIndexFile(const std::string& path, IndexSink& sink);
bool ReadSysIndexIni(const std::string& path, IndexSink& sink);
bool ReadSysIndexXml(const std::string& path, IndexSink& sink);
// "脚本路径" of the user file, normalised.
std::string ReadUsrScriptPath(const std::string& path);
bool ReadUsrIndexFile(const std::string& path, IndexSink& sink);

// Rewrites the user file whole and atomically with these indicators,
// numbered from 1 in the given order.
bool WriteUsrIndexFile(const std::string& path, const std::string& script_path,
                       const std::vector<const UsrIndex*>& indexes);

}  // namespace orbe

#endif  // ORBE_INDICATORS_INDEX_FILES_H_
