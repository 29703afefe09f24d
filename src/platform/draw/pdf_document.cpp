// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/draw/pdf_document.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include "platform/draw/pdf_canvas.h"

namespace lumen {

namespace {

constexpr double pointsPerHundredthMm = 72.0 / 2540.0;

}  // namespace

struct PdfDocument::Impl {
    Size sheet;
    cairo_surface_t* surface = nullptr;
    cairo_t* context = nullptr;
    std::unique_ptr<PdfCanvas> page;
};

PdfDocument::PdfDocument(const std::string& path, Size pageHundredthMm) : impl_(std::make_unique<Impl>()) {
    impl_->sheet = pageHundredthMm;
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), pageHundredthMm.width * pointsPerHundredthMm,
                                                        pageHundredthMm.height * pointsPerHundredthMm);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return;
    }
    impl_->surface = surface;
    impl_->context = cairo_create(surface);
}

PdfDocument::~PdfDocument() { close(); }

Size PdfDocument::pageHundredthMm() const { return impl_->sheet; }

bool PdfDocument::isOpen() const { return impl_->context != nullptr; }

Canvas* PdfDocument::startPage(PageOrientation orientation) {
    if (!isOpen()) {
        return nullptr;
    }
    endPage();
    const Size page = orientation == PageOrientation::Portrait ? impl_->sheet : orientedPage(impl_->sheet, orientation);
    cairo_pdf_surface_set_size(impl_->surface, page.width * pointsPerHundredthMm, page.height * pointsPerHundredthMm);
    impl_->page = std::make_unique<PdfCanvas>(impl_->context, page);
    return impl_->page.get();
}

void PdfDocument::endPage() {
    if (!impl_->page) {
        return;
    }
    impl_->page.reset();
    cairo_show_page(impl_->context);
}

bool PdfDocument::close() {
    if (!isOpen()) {
        return false;
    }
    endPage();
    cairo_destroy(impl_->context);
    impl_->context = nullptr;
    cairo_surface_finish(impl_->surface);
    const bool written = cairo_surface_status(impl_->surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(impl_->surface);
    impl_->surface = nullptr;
    return written;
}

}  // namespace lumen
