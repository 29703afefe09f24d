// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "pane/pane_links.h"
#include "store/beat_window.h"
#include "store/beat_word.h"

namespace lumen {

// What a pane asks the shell to do: repaint the buttons and the title,
// note what changed in the recording, print, and end the program.
class ShellServices {
public:
    virtual ~ShellServices() = default;

    virtual void refreshButtonFaces() = 0;
    // Counts the beat classes again and repaints the title pane at once.
    virtual void recountBeatsAndTitle() = 0;
    // Puts the main window's title back after the credit text; true when
    // the credit text was showing.
    virtual bool restoreTitle() = 0;
    // The strip window now starts at `block`.
    virtual void setFirstBlock(int32_t block) = 0;
    // A label write-back answered `kind`: a state of NormalityChanged stays,
    // otherwise it becomes `kind`; NormalityChanged counts one edit.
    virtual void recordWriteBack(ChangeKind kind) = 0;
    // The annotation changed outside a write-back (an event removed, the
    // extremes searched again): it counts as a normality change.
    virtual void markAnnotationChanged() = 0;
    // A correction could not be written into the recording (which keeps its
    // previous bytes): the user must know.
    virtual void reportUnsavedCorrections() = 0;
    // Asks, then prints the one-page report of the selected event with that
    // stretch of the ECG (or tells the user that no printer could be opened).
    virtual void printReport(const ShownStretch& stretch) = 0;
    // Closes the main window, which ends the program through its exit path.
    virtual void requestExit() = 0;
    // While the forms view is open, the class buttons give the selected form
    // their class; true when it took it (false: they go to the selected beat).
    virtual bool classifySelectedForm(BeatClass /*beatClass*/) { return false; }
};

}  // namespace lumen
