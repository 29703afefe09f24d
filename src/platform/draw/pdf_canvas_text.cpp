// SPDX-License-Identifier: GPL-3.0-or-later
#include <cairo-ft.h>
#include <cairo.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "platform/draw/font_face.h"
#include "platform/draw/pdf_canvas.h"
#include "platform/draw/utf8_decoder.h"

namespace lumen {

namespace {

// cairo faces over the shared FreeType faces, kept for the process's life.
cairo_font_face_t* cairoFaceFor(const FontFace& face) {
    static auto* faces = new std::map<const FontFace*, cairo_font_face_t*>();
    auto found = faces->find(&face);
    if (found == faces->end()) {
        cairo_font_face_t* created = cairo_ft_font_face_create_for_ft_face(face.ftFace(), 0);
        found = faces->emplace(&face, created).first;
    }
    return found->second;
}

std::vector<std::string> splitLines(std::string_view text, bool singleLine) {
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t end = singleLine ? std::string_view::npos : text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(toValidUtf8(line));
        if (end == std::string_view::npos) {
            return lines;
        }
        start = end + 1;
    }
}

}  // namespace

PdfCanvas::TextFont PdfCanvas::useFont() {
    TextFont metrics;
    FontFace* face = FontFace::find(state().font);
    if (face == nullptr) {
        return metrics;
    }
    const FontScale scale = face->scaleFor(state().font.height);
    const double unit = pointsPerUnit();
    cairo_set_font_face(context_, cairoFaceFor(*face));
    cairo_set_font_size(context_, scale.emSize * unit);
    metrics.usable = cairo_status(context_) == CAIRO_STATUS_SUCCESS;
    metrics.ascent = scale.ascent * unit;
    metrics.descent = scale.descent * unit;
    return metrics;
}

double PdfCanvas::textWidth(const std::string& utf8) {
    cairo_text_extents_t extents;
    cairo_text_extents(context_, utf8.c_str(), &extents);
    return extents.x_advance;
}

void PdfCanvas::showText(PointF baselineStart, const std::string& utf8, double width, const TextFont& metrics) {
    if (state().bkMode == BackgroundMode::Opaque) {
        fillPoints(RectF{baselineStart.x, baselineStart.y - metrics.ascent, baselineStart.x + width,
                         baselineStart.y + metrics.descent},
                   state().bkColor);
    }
    cairo_new_path(context_);
    cairo_move_to(context_, baselineStart.x, baselineStart.y);
    setSourceColor(state().textColor);
    cairo_show_text(context_, utf8.c_str());
    cairo_new_path(context_);
}

void PdfCanvas::textOut(Point at, std::string_view text) {
    flush();
    const TextFont metrics = useFont();
    if (!metrics.usable) {
        return;
    }
    const std::string utf8 = toValidUtf8(text);
    const double width = textWidth(utf8);
    PointF origin = toPoints(at);
    if (horizontalPart(state().textAlign) == TextAlign::Center) {
        origin.x -= width / 2.0;
    } else if (horizontalPart(state().textAlign) == TextAlign::Right) {
        origin.x -= width;
    }
    if (verticalPart(state().textAlign) == TextAlign::Top) {
        origin.y += metrics.ascent;
    } else if (verticalPart(state().textAlign) == TextAlign::Bottom) {
        origin.y -= metrics.descent;
    }
    showText(origin, utf8, width, metrics);
}

int32_t PdfCanvas::drawText(const Rect& rect, std::string_view text, DrawTextFormat format) {
    flush();
    const TextFont metrics = useFont();
    if (!metrics.usable) {
        return 0;
    }
    const RectF box = toPoints(rect);
    const bool singleLine = hasFlag(format, DrawTextFormat::SingleLine);
    const std::vector<std::string> lines = splitLines(text, singleLine);
    const double lineHeight = metrics.ascent + metrics.descent;
    double top = box.top;
    if (singleLine && hasFlag(format, DrawTextFormat::VerticalCenter)) {
        top = box.top + (box.bottom - box.top - lineHeight) / 2.0;
    } else if (singleLine && hasFlag(format, DrawTextFormat::Bottom)) {
        top = box.bottom - lineHeight;
    }
    cairo_save(context_);
    if (!hasFlag(format, DrawTextFormat::NoClip)) {
        cairo_new_path(context_);
        cairo_rectangle(context_, box.left, box.top, box.right - box.left, box.bottom - box.top);
        cairo_clip(context_);
    }
    for (const std::string& line : lines) {
        const double width = textWidth(line);
        double x = box.left;
        if (hasFlag(format, DrawTextFormat::Right)) {
            x = box.right - width;
        } else if (hasFlag(format, DrawTextFormat::Center)) {
            x = box.left + (box.right - box.left - width) / 2.0;
        }
        showText(PointF{x, top + metrics.ascent}, line, width, metrics);
        top += lineHeight;
    }
    cairo_restore(context_);
    return pointsToLogical(lineHeight * static_cast<double>(lines.size()));
}

Size PdfCanvas::textExtent(std::string_view text) {
    const TextFont metrics = useFont();
    if (!metrics.usable) {
        return Size{};
    }
    const double width = textWidth(toValidUtf8(text));
    return Size{pointsToLogical(width), pointsToLogical(metrics.ascent + metrics.descent)};
}

}  // namespace lumen
