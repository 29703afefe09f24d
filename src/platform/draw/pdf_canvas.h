#pragma once

#include <memory>
#include <vector>

#include "platform/draw/canvas.h"

struct _cairo;

namespace lumen {

class FontFace;

// One page of a PdfDocument drawn through cairo in vector form. Lines drawn
// one after the other with the same pen join into one path, stroked when
// anything else happens.
class PdfCanvas final : public Canvas {
public:
    // `pageHundredthMm`: the sheet the page is drawn on.
    PdfCanvas(_cairo* context, Size pageHundredthMm);
    ~PdfCanvas() override;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    // Strokes the lines still pending; called before the page ends.
    void flush();

    Pen selectPen(const Pen& pen) override;
    Brush selectBrush(const Brush& brush) override;
    Font selectFont(const Font& font) override;
    const Pen& pen() const override { return state_.pen; }
    const Brush& brush() const override { return state_.brush; }
    const Font& font() const override { return state_.font; }

    Color setTextColor(Color color) override;
    Color setBkColor(Color color) override;
    BackgroundMode setBkMode(BackgroundMode mode) override;
    TextAlign setTextAlign(TextAlign align) override;
    RasterOp setRasterOp(RasterOp op) override;
    MapMode setMapMode(MapMode mode) override;
    Color textColor() const override { return state_.textColor; }
    Color bkColor() const override { return state_.bkColor; }
    BackgroundMode bkMode() const override { return state_.bkMode; }
    TextAlign textAlign() const override { return state_.textAlign; }
    RasterOp rasterOp() const override { return state_.rasterOp; }
    MapMode mapMode() const override { return state_.mapMode; }
    void setClipRect(const Rect& clip) override;
    void resetClipRect() override;
    void saveState() override;
    void restoreState() override;

    Point moveTo(Point to) override;
    Point currentPosition() const override { return state_.position; }
    void lineTo(Point to) override;
    void rectangle(const Rect& rect) override;
    void fillRect(const Rect& rect, const Brush& brush) override;

    void textOut(Point at, std::string_view text) override;
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) override;
    Size textExtent(std::string_view text) override;

    void bitBlt(const Rect& destination, const Canvas& source, Point sourceOrigin) override;
    std::unique_ptr<Canvas> createCompatibleImage(Size sizePixels) const override;
    Size deviceSize() const override;

private:
    struct PointF {
        double x = 0.0;
        double y = 0.0;
    };
    struct RectF {
        double left = 0.0;
        double top = 0.0;
        double right = 0.0;
        double bottom = 0.0;
    };
    struct State {
        Pen pen = Pen::black();
        Brush brush = Brush::white();
        Font font = Font::system();
        Color textColor = blackColor;
        Color bkColor = whiteColor;
        BackgroundMode bkMode = BackgroundMode::Opaque;
        TextAlign textAlign = TextAlign::Left | TextAlign::Top;
        RasterOp rasterOp = RasterOp::Copy;
        MapMode mapMode = MapMode::HundredthMillimetre;
        Point position{};
        bool clipped = false;
        RectF clip{};  // points
    };
    struct TextFont {
        bool usable = false;
        double ascent = 0.0;  // points
        double descent = 0.0;
    };

    double pointsPerUnit() const;
    PointF toPoints(Point logical) const;
    RectF toPoints(const Rect& logical) const;
    int32_t pointsToLogical(double points) const;
    void setSourceColor(Color color);
    void applyClip();
    void fillPoints(const RectF& rect, Color color);
    TextFont useFont();
    double textWidth(const std::string& utf8);
    void showText(PointF baselineStart, const std::string& utf8, double width, const TextFont& metrics);

    _cairo* context_;
    Size page_;
    State state_;
    std::vector<State> savedStates_;
    std::vector<PointF> pendingLine_;
    Pen pendingPen_;
};

}  // namespace lumen
