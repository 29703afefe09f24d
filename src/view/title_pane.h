#pragma once
#include <string>

#include "events/pane_host.h"
#include "events/pane_window.h"

namespace lumen {

class BeatList;

// The title pane ("c3_ablak"): the patient line on the left and the beat
// statistics on the right, repainted whenever beats were relabelled.
class TitlePane final : public PaneWindow {
public:
    TitlePane(PaneHost& host, const BeatList& beats);

    LResult handle(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) override;

    // The two texts as last drawn.
    const std::string& leftText() const { return left_; }
    const std::string& rightText() const { return right_; }

private:
    void paint(WindowHandle window);

    PaneHost& host_;
    const BeatList& beats_;
    std::string left_;
    std::string right_;
};

}  // namespace lumen
