// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/home_content.h"

#include "assembly/home_files.h"

namespace lumen {

HomeContent HomeContent::of(const RecordingImage& recording, int language, int32_t startPositionTicks,
                            int32_t startEventCode) {
    HomeContent content;
    content.codeTable = formatCodeTable(recording.codeTable);
    content.colorIni = HomeFiles::colorIni(language);
    content.tbColorIni = HomeFiles::tbColorIni();
    content.doefMem = HomeFiles::doefMem(startPositionTicks, startEventCode);
    content.holterMem = recording.holterMem;
    content.formsMem = recording.formsMem;
    if (!recording.notes.empty()) content.sourceNotes = RecordingSidecar::format(recording.notes);
    return content;
}

}  // namespace lumen
