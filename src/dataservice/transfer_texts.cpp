#include "dataservice/transfer_texts.h"

#include <array>

namespace orbe {
namespace {

struct StatusRow {
  std::uint8_t status;
  const char* text;
};

constexpr std::array<StatusRow, 5> kSharedStatusTexts = {{
    {1, "传输包出错."},
    {2, "监控密码错误."},
    {3, "数据库已满."},
    {5, "数据库忙."},
    {6, "上传文件已存在."},
}};

const char* MissingFileText(TransferKind kind) {
  switch (kind) {
    case TransferKind::kDelete:
      return "删除文件不存在.";
    case TransferKind::kReload:
      return "文件不存在.";
    case TransferKind::kUpload:
    case TransferKind::kDownload:
      break;
  }
  return "下载文件不存在.";
}

}  // namespace

const char* ConnectionLostText(TransferKind kind) {
  switch (kind) {
    case TransferKind::kUpload:
      return "上传连接中断，上传失败.";
    case TransferKind::kDownload:
      return "下载连接中断,下载失败.";
    case TransferKind::kDelete:
      return "删除连接中断,删除失败.";
    case TransferKind::kReload:
      return "重新加载文件连接中断,删除失败.";
  }
  return "";
}

const char* ServerStatusText(TransferKind kind, std::uint8_t status) {
  if (status == 4) return MissingFileText(kind);
  if (status == 7) status = 6;
  for (const StatusRow& row : kSharedStatusTexts) {
    if (row.status == status) return row.text;
  }
  return "";
}

}  // namespace orbe
