#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "events/channel_mode.h"
#include "events/control_id.h"
#include "events/drawing_set.h"
#include "events/shell_layout.h"
#include "lang/language_texts.h"
#include "platform/draw/image.h"
#include "platform/window/message.h"
#include "store/beat_window.h"

namespace lumen {

enum class PaneKind : uint8_t { Browser, Ecg, Title };

// The channels the ECG view shows and the stretch of its window on the
// strip: window samples firstSample .. lastSample, both included.
struct ShownStretch {
    ChannelMode channelMode = ChannelMode::Channel1;
    int32_t firstSample = 0;
    int32_t lastSample = 0;
};

// What the panes of the main window (event browser, ECG pane, title pane)
// need from the application shell. The shell implements it; the panes hold
// their own model objects (catalog, strip, recording) and reach the shell
// only through this, so that no pane depends on the shell library.
class PaneHost {
public:
    virtual ~PaneHost() = default;

    // --- geometry and drawing objects ---------------------------------------
    virtual const ShellLayout& layout() const = 0;
    virtual const DrawingSet& drawing() const = 0;
    virtual const LanguageTexts& texts() const = 0;
    // The off-screen image of the ECG strip, (stripWidth + 1) x ECG pane
    // height; null before the first layout.
    virtual Image* stripImage() = 0;

    // --- windows ------------------------------------------------------------
    virtual WindowHandle mainWindow() const = 0;
    virtual WindowHandle paneWindow(PaneKind pane) const = 0;
    // The owner-drawn button with that control id (its pane places it).
    virtual WindowHandle button(ControlId control) const = 0;

    // --- shell state --------------------------------------------------------
    virtual int32_t firstBlock() const = 0;
    virtual void setFirstBlock(int32_t block) = 0;
    virtual int32_t printerIndex() const = 0;
    virtual int32_t labelChangeState() const = 0;
    virtual int32_t labelChangeCount() const = 0;
    // A label write-back answered `kind`: a state of 1 (normality changed)
    // stays 1, otherwise it becomes `kind`; NormalityChanged counts one edit.
    virtual void recordWriteBack(ChangeKind kind) = 0;
    // The annotation changed outside a write-back (an event removed, the
    // extremes searched again): the state becomes 1.
    virtual void markAnnotationChanged() = 0;
    // Puts the main window's title back after the credit text; true when
    // the credit text was showing.
    virtual bool restoreTitle() = 0;
    // The patient line as read from the recording, decoded to UTF-8.
    virtual const std::string& patientLine() const = 0;

    // --- shell services -----------------------------------------------------
    virtual void refreshButtonFaces() = 0;
    // Counts the beat classes again and repaints the title pane at once.
    virtual void recountBeatsAndTitle() = 0;
    // Prints the one-page report of the selected event with that stretch of
    // the ECG; 0 when printed or declined, 1 when no printer could be opened.
    virtual int32_t printReport(ChannelMode channels, int32_t firstSample, int32_t lastSample) = 0;
    [[noreturn]] virtual void terminateProgram(std::string_view message) = 0;
    // A correction could not be written into the recording (which keeps its
    // previous bytes): the user must know.
    virtual void reportUnsavedCorrections() = 0;

    // --- between panes (forwarded by the shell to the pane that owns them) --
    virtual void refreshBrowser(bool full) = 0;
    virtual void loadStripAround(int32_t samplePosition) = 0;
    virtual void resetCaliperFirstColumn() = 0;
    // Every paint of the event browser shows both channels from then on.
    virtual void showBothChannels() = 0;
    virtual ShownStretch shownStretch() const = 0;
};

}  // namespace lumen
