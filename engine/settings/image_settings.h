#pragma once
// How the engine places images and which picture format it writes.
#include <string>

namespace vs {

enum class TqxOutputImageFormat { ifBMP, ifJPEG, ifGIF, ifPNG, ifMetafile, ifCCITT3, ifCCITT4 };

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// The party that decides whether an output format can be written (the engine).
class TqxImageFormatJudge {
 public:
  virtual ~TqxImageFormatJudge() = default;
  virtual bool SupportsImageFormat(TqxOutputImageFormat format, std::string& message) = 0;
};

class TqxImageSettings {
 public:
  explicit TqxImageSettings(TqxImageFormatJudge* owner = nullptr);
  TqxImageSettings(const TqxImageSettings&) = delete;
  TqxImageSettings& operator=(const TqxImageSettings&) = delete;

  // Copies every setting; the owner stays.
  void Assign(const TqxImageSettings& source);

  TqxOutputImageFormat OutputImageFormat() const { return format_; }
  // Asks the owner first; a refused format is reported in a message box and
  // the old one stays.
  void SetOutputImageFormat(TqxOutputImageFormat format);

  TPixelFormat ImagePixelFormat() const { return pixelFormat_; }
  void SetImagePixelFormat(TPixelFormat v) { pixelFormat_ = v; }
  int JPEGQuality() const { return jpegQuality_; }
  void SetJPEGQuality(int v);  // kept within 1..100
  // -1: the graphic's own pixel size is used.
  int SourceDPI() const { return sourceDPI_; }
  void SetSourceDPI(int v) { sourceDPI_ = v; }

  // Placement flags.
  bool Center = false;
  bool ActualSize = false;
  bool Stretch = false;
  bool Reserved = false;  // copied only
  bool KeepAspectRatio = false;
  bool Framed = false;

 private:
  TqxImageFormatJudge* owner_;
  TqxOutputImageFormat format_ = TqxOutputImageFormat::ifJPEG;
  TPixelFormat pixelFormat_ = TPixelFormat::pf24bit;
  int jpegQuality_ = 100;
  int sourceDPI_;
};

}  // namespace vs
