#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/draw/canvas.h"

namespace lumen::test {

// A canvas that draws nothing and keeps a log of lines, rectangles and
// texts with the pen, brush and text colour they were drawn with.
class RecordingCanvas final : public Canvas {
public:
    struct Line {
        Point from, to;
        Pen pen;
        RasterOp op;
    };
    struct Text {
        Point at;
        Rect rect;
        std::string text;
        Color color;
        TextAlign align;
        bool inRect;
    };
    struct Box {
        Rect rect;
        Brush brush;
        Pen pen;
    };

    std::vector<Line> lines;
    std::vector<Text> texts;
    std::vector<Box> boxes;

    Pen selectPen(const Pen& pen) override { return std::exchange(pen_, pen); }
    Brush selectBrush(const Brush& brush) override { return std::exchange(brush_, brush); }
    Font selectFont(const Font& font) override { return std::exchange(font_, font); }
    const Pen& pen() const override { return pen_; }
    const Brush& brush() const override { return brush_; }
    const Font& font() const override { return font_; }
    Color setTextColor(Color color) override { return std::exchange(textColor_, color); }
    Color setBkColor(Color color) override { return std::exchange(bkColor_, color); }
    BackgroundMode setBkMode(BackgroundMode mode) override { return std::exchange(bkMode_, mode); }
    TextAlign setTextAlign(TextAlign align) override { return std::exchange(align_, align); }
    RasterOp setRasterOp(RasterOp op) override { return std::exchange(op_, op); }
    MapMode setMapMode(MapMode mode) override { return std::exchange(mapMode_, mode); }
    Color textColor() const override { return textColor_; }
    Color bkColor() const override { return bkColor_; }
    BackgroundMode bkMode() const override { return bkMode_; }
    TextAlign textAlign() const override { return align_; }
    RasterOp rasterOp() const override { return op_; }
    MapMode mapMode() const override { return mapMode_; }
    void setClipRect(const Rect&) override {}
    void resetClipRect() override {}
    void saveState() override {}
    void restoreState() override {}
    Point moveTo(Point to) override { return std::exchange(position_, to); }
    Point currentPosition() const override { return position_; }
    void lineTo(Point to) override {
        lines.push_back({position_, to, pen_, op_});
        position_ = to;
    }
    void rectangle(const Rect& rect) override { boxes.push_back({rect, brush_, pen_}); }
    void fillRect(const Rect& rect, const Brush& brush) override { boxes.push_back({rect, brush, Pen::null()}); }
    void textOut(Point at, std::string_view text) override {
        texts.push_back({at, {}, std::string(text), textColor_, align_, false});
    }
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat) override {
        texts.push_back({{}, rect, std::string(text), textColor_, align_, true});
        return 10;
    }
    Size textExtent(std::string_view text) override { return {static_cast<int32_t>(text.size()) * 7, 14}; }
    void bitBlt(const Rect&, const Canvas&, Point) override {}
    std::unique_ptr<Canvas> createCompatibleImage(Size) const override { return std::make_unique<RecordingCanvas>(); }
    Size deviceSize() const override { return {1024, 768}; }

    void forget() {
        lines.clear();
        texts.clear();
        boxes.clear();
    }

private:
    Pen pen_ = Pen::black();
    Brush brush_ = Brush::white();
    Font font_ = Font::system();
    Color textColor_ = blackColor;
    Color bkColor_ = whiteColor;
    BackgroundMode bkMode_ = BackgroundMode::Transparent;
    TextAlign align_ = TextAlign::Left;
    RasterOp op_ = RasterOp::Copy;
    MapMode mapMode_ = MapMode::Pixels;
    Point position_{};
};

}  // namespace lumen::test
