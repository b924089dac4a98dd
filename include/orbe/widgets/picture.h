// A picture box. It keeps the image path it was given and reads the image's
// size from the file header (PNG, GIF, BMP, JPEG), so a script can size its
// layout; the page embeds the image.
#ifndef ORBE_WIDGETS_PICTURE_H_
#define ORBE_WIDGETS_PICTURE_H_

#include <optional>
#include <string>

#include "orbe/widgets/widget_event.h"

namespace orbe {
struct ImageInfo {
  const char* mime;
  int width;
  int height;
};
// The type and size from the first bytes of an image file; nullopt when the
// bytes are no image of a known type.
std::optional<ImageInfo> ReadImageInfo(std::string_view head);
}  // namespace orbe

class CKvxPicture : public orbe::EventWidget {
 public:
  CKvxPicture() : EventWidget(orbe::WidgetKind::kPicture) {}

  // Refused (and the old picture kept) for an empty path, a file that cannot
  // be read or one that is no image of a known type.
  bool Load(const std::string& path);
  void UnLoad();
  bool IsLoaded() const { return !path_.empty(); }
  const std::string& GetPath() const { return path_; }
  // The image's width and height; 0, 0 when nothing is loaded.
  SIZE GetReqSize() const;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string path_;
  std::string bytes_;
  std::optional<orbe::ImageInfo> info_;
};

#endif  // ORBE_WIDGETS_PICTURE_H_
