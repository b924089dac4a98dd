// The file dialogs scripts open, through the platform's dialog handler.
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/file_dialog.h"

namespace {

constexpr const char* kFilesOfType = "\xce\xc4\xbc\xfe (*.";                   // "文件 (*."
constexpr const char* kAllFiles = "\xc8\xab\xb2\xbf\xce\xc4\xbc\xfe (*)|*||";  // "全部文件 (*)|*||"
constexpr const char* kChooseFolderTitle =
    "\xd1\xa1\xd4\xf1\xc4\xbf\xb1\xea\xce\xc4\xbc\xfe\xbc\xd0";  // "选择目标文件夹"

// "<e>文件 (*.<e>)|*.<e>|" for each extension, then the all-files entry.
std::string FilterOf(const std::vector<std::string>& extensions) {
  std::string filter;
  for (const std::string& extension : extensions) {
    filter += extension + kFilesOfType + extension + ")|*." + extension + "|";
  }
  return filter + kAllFiles;
}

}  // namespace

CString CwFileUtil::OpenCFileDialog(const CString& extensions) {
  orbe::FileDialogRequest request;
  request.kind = orbe::FileDialogKind::kOpenFile;
  request.filter = FilterOf(SplitStr(extensions, "|"));
  return orbe::ShowFileDialog(request);
}

CString CwFileUtil::SaveCFileDialog(const CString& extensions, const CString& fileName) {
  const std::vector<std::string> split = SplitStr(extensions, "|");
  orbe::FileDialogRequest request;
  request.kind = orbe::FileDialogKind::kSaveFile;
  request.filter = FilterOf(split);
  request.default_extension = split.empty() ? std::string() : split.front();
  request.initial_name = fileName;
  return orbe::ShowFileDialog(request);
}

CString CwFileUtil::BrowseForFolder() {
  orbe::FileDialogRequest request;
  request.kind = orbe::FileDialogKind::kBrowseFolder;
  request.title = kChooseFolderTitle;
  return orbe::ShowFileDialog(request);
}
