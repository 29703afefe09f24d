// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/image.h"

namespace lumen::test {

// A canvas that draws nothing and keeps a log of lines, rectangles and
// texts with the pen, brush and text colour they were drawn with.
class RecordingCanvas final : public Image {
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

    RecordingCanvas() {
        setBkMode(BackgroundMode::Transparent);
        setTextAlign(TextAlign::Left);
    }

    void rectangle(const Rect& rect) override { boxes.push_back({rect, brush(), pen()}); }
    void fillRect(const Rect& rect, const Brush& brush) override { boxes.push_back({rect, brush, Pen::null()}); }
    void textOut(Point at, std::string_view text) override {
        texts.push_back({at, {}, std::string(text), textColor(), textAlign(), false});
    }
    int32_t drawText(const Rect& rect, std::string_view text, DrawTextFormat) override {
        texts.push_back({{}, rect, std::string(text), textColor(), textAlign(), true});
        return 10;
    }
    Size textExtent(std::string_view text) override { return {static_cast<int32_t>(text.size()) * 7, 14}; }
    void bitBlt(const Rect&, const Image&, Point) override {}
    std::unique_ptr<Image> createCompatibleImage(Size) const override { return nullptr; }
    Size deviceSize() const override { return {1024, 768}; }
    PixelSurface pixels() const override { return {}; }

    // The first text logged with these words; nullptr when none was.
    const Text* find(std::string_view words) const {
        for (const Text& t : texts) {
            if (t.text == words) return &t;
        }
        return nullptr;
    }
    void forget() {
        lines.clear();
        texts.clear();
        boxes.clear();
    }

private:
    void drawLine(Point from, Point to) override { lines.push_back({from, to, pen(), rasterOp()}); }
};

}  // namespace lumen::test
