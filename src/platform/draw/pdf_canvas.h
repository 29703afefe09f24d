// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "platform/draw/image.h"

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

    void rectangle(const Rect& rect) override;
    void fillRect(const Rect& rect, const Brush& brush) override;

    void textOut(Point at, std::string_view text) override;
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat format) override;
    Size textExtent(std::string_view text) override;

    void bitBlt(const Rect& destination, const Image& source, Point sourceOrigin) override;
    std::unique_ptr<Image> createCompatibleImage(Size sizePixels) const override;
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
    struct TextFont {
        bool usable = false;
        double ascent = 0.0;  // points
        double descent = 0.0;
    };

    void drawLine(Point from, Point to) override;
    void stateWillChange() override { flush(); }
    void clipChanged() override;
    double pointsPerUnit() const { return pointsPerUnit(state().mapMode); }
    static double pointsPerUnit(MapMode mapMode);
    PointF toPoints(Point logical) const { return toPoints(logical, state().mapMode); }
    RectF toPoints(const Rect& logical) const { return toPoints(logical, state().mapMode); }
    static PointF toPoints(Point logical, MapMode mapMode);
    static RectF toPoints(const Rect& logical, MapMode mapMode);
    int32_t pointsToLogical(double points) const;
    void setSourceColor(Color color);
    void fillPoints(const RectF& rect, Color color);
    TextFont useFont();
    double textWidth(const std::string& utf8);
    void showText(PointF baselineStart, const std::string& utf8, double width, const TextFont& metrics);

    _cairo* context_;
    Size page_;
    std::vector<PointF> pendingLine_;
    Pen pendingPen_;
};

}  // namespace lumen
