#pragma once
// The Excel engine component and the engine that puts pictures and drawing
// objects on its worksheets.
#include "engine/settings/image_settings.h"
#include "xls/custom_excel_engine.h"

namespace vs {

// Adds the pictures of a page (image items, shapes painted into bitmaps, the
// background picture) to the worksheet: the image and shape render
// operations, PlaceBitmap, WriteSheetExtras and PictureMaxRow are overridden
// here and write into SheetBuffer().
class TqxExExcelEngine : public TqxCustomExcelEngine {
 public:
  TqxExExcelEngine() = default;

  // The published image settings.
  using TqxCustomDocumentEngine::ImageSettings;
};

// The component the conversion uses; it adds nothing of its own.
class TqxExcelEngine : public TqxExExcelEngine {
 public:
  TqxExcelEngine() = default;
};

}  // namespace vs
