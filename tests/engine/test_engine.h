#pragma once
// A small concrete engine that writes down what it is asked to do.
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/codepage.h"

namespace vs::testing {

class RecordingEngine : public TqxCustomDocumentEngine {
 public:
  RecordingEngine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
  }
  std::vector<std::string> log;

  using TqxCustomDocumentEngine::PlaceImage;
  using TqxCustomDocumentEngine::RenderItems;
  using TqxCustomDocumentEngine::SortItems;
  void SetLineTolerance(double t) { lineTolerance_ = t; }

 protected:
  void BeginDocHook() override { log.push_back("BeginDocHook"); }
  void EndDocHook() override { log.push_back("EndDocHook"); }
  void BeginPageHook() override { log.push_back("BeginPageHook " + std::to_string(CurrentPage())); }
  void EndPageHook() override { log.push_back("EndPageHook " + std::to_string(CurrentPage())); }
  void RenderTextItem(TqxTextItem& item) override { log.push_back("Text " + WideToAnsi(item.Lines.Get(0))); }
  void RenderTextBoxItem(TqxTextBoxItem&) override { log.push_back("TextBox"); }
  void RenderImageItem(TqxImageItem&) override { log.push_back("Image"); }
  void RenderImageStreamItem(TqxImageStream&) override { log.push_back("ImageStream"); }
  void RenderLine(const TPen&, double, double, double, double) override { log.push_back("Line"); }
  void RenderRectangle(const TPen&, const TBrush* b, double, double, double, double) override {
    log.push_back(b ? "Rectangle filled" : "Rectangle");
  }
  void RenderRoundRect(const TPen&, const TBrush*, double, double, double, double, double, double) override {
    log.push_back("RoundRect");
  }
  void RenderEllipse(const TPen&, const TBrush*, double, double, double, double) override { log.push_back("Ellipse"); }
  void RenderPolygon(const std::vector<TqxFloatPoint>&, int count, const TBrush*, const TPen&, bool filled) override {
    log.push_back((filled ? "Polygon " : "Polyline ") + std::to_string(count));
  }
  void RenderArc(const TPen&, const std::vector<TqxFloatPoint>&) override { log.push_back("Arc"); }
  void RenderPie(const TPen&, const TBrush*, const std::vector<TqxFloatPoint>&) override { log.push_back("Pie"); }
  void RenderChord(const TPen&, const TBrush*, const std::vector<TqxFloatPoint>&) override { log.push_back("Chord"); }
  void RenderPolyBezier(const std::vector<TqxFloatPoint>&, int, const TPen&) override { log.push_back("PolyBezier"); }
  void RenderClipItem(TqxClipItem&) override { log.push_back("Clip"); }
  void RenderPathItem(TqxPathItem&) override { log.push_back("Path"); }
  void RenderPolyPolygonItem(TqxPolyPolygonItem&) override { log.push_back("PolyPolygon"); }
  void RenderEOFItem(TqxEOFItem&) override { log.push_back("EOF"); }
  void RenderPolyDrawItem(TqxPolyDrawItem&) override { log.push_back("PolyDraw"); }
  void RenderOtherItem(TqxDocumentItem&) override { log.push_back("Other"); }
  void RenderParagraphItem(TqxParagraphItem&) override { log.push_back("Paragraph"); }
  void RenderTableItem(TqxTableItem&) override { log.push_back("Table"); }
};

// A picture of a given pixel size.
class FakeGraphic : public TGraphic {
 public:
  FakeGraphic(int w, int h, TGraphicKind kind = TGraphicKind::gkBitmap) : w_(w), h_(h), kind_(kind) {}
  TGraphicKind Kind() const override { return kind_; }
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<FakeGraphic>(w_, h_, kind_); }
  void SaveToStream(TStream& stream) const override { stream.WriteBytes("BM"); }

 private:
  int w_, h_;
  TGraphicKind kind_;
};

}  // namespace vs::testing
