#include "engine/settings/image_settings.h"

#include <algorithm>

#include "engine/message_box.h"
#include "platform/screen.h"

namespace vs {

TqxImageSettings::TqxImageSettings(TqxImageFormatJudge* owner)
    : owner_(owner), sourceDPI_(kScreenPixelsPerInch) {}

void TqxImageSettings::Assign(const TqxImageSettings& source) {
  format_ = source.format_;
  pixelFormat_ = source.pixelFormat_;
  jpegQuality_ = source.jpegQuality_;
  sourceDPI_ = source.sourceDPI_;
  Center = source.Center;
  ActualSize = source.ActualSize;
  Stretch = source.Stretch;
  Reserved = source.Reserved;
  KeepAspectRatio = source.KeepAspectRatio;
  Framed = source.Framed;
}

void TqxImageSettings::SetOutputImageFormat(TqxOutputImageFormat format) {
  std::string message;
  if (owner_ && !owner_->SupportsImageFormat(format, message)) {
    ShowErrorMessageBox(message);
    return;
  }
  format_ = format;
}

void TqxImageSettings::SetJPEGQuality(int v) { jpegQuality_ = std::clamp(v, 1, 100); }

}  // namespace vs
