// The status texts a transfer keeps for the scripts (GBK).
#ifndef ORBE_DATASERVICE_TRANSFER_TEXTS_H_
#define ORBE_DATASERVICE_TRANSFER_TEXTS_H_

#include <cstdint>

namespace orbe {

enum class TransferKind { kUpload, kDownload, kDelete, kReload };

inline constexpr const char* kTextCreated = "创建连接成功.";
inline constexpr const char* kTextConnected = "连接成功.";
inline constexpr const char* kTextDownloadStarts = "开始下载文件.";
inline constexpr const char* kTextUploading = "正在上传文件.";
inline constexpr const char* kTextCompressFailed = "压缩失败";
inline constexpr const char* kTextUploaded = "文件上传成功.";
inline constexpr const char* kTextInflateFailed = "解压失败.";
inline constexpr const char* kTextDownloaded = "文件下载成功.";
inline constexpr const char* kTextDeleted = "文件删除成功.";
inline constexpr const char* kTextReloaded = "重新加载文件成功.";
inline constexpr const char* kTextDigestFailed = "下载文件MD5错误.";
inline constexpr const char* kTextBadRemotePath = "下载文件路径不合法.";
inline constexpr const char* kTextDeleteSent = "发送删除请求.";
inline constexpr const char* kTextReloadSent = "发送加载文件请求.";
// The local side of a transfer failed: the file to upload could not be read,
// or the downloaded file could not be written or put in place.
inline constexpr const char* kTextLocalReadFailed = "读取本地文件失败.";
inline constexpr const char* kTextLocalWriteFailed = "写入本地文件失败.";

// The text for a lost connection of this kind of transfer.
const char* ConnectionLostText(TransferKind kind);
// The text for a non-zero server status; "" for 0 and unknown codes.
const char* ServerStatusText(TransferKind kind, std::uint8_t status);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_TRANSFER_TEXTS_H_
