#pragma once
// The main window's pages as data: the device area (always there, left of the tabs' pages), the
// install page of the first tab and the construction notice of the others. Each page lists its
// controls and describes itself for a session; a new tab is a new page here and a page view of it
// in the window.
#include <cstddef>
#include <vector>

#include "ui/main/page_description.h"
#include "ui/main/session.h"

namespace ui {

// What a batch came to, which decides the result lines of page state 5.
enum class BatchOutcome { AllInstalled, SomeFailed, NothingInstalled };
BatchOutcome ClassifyBatch(size_t total, size_t failed);

// The status of the search (states 0 to 2) or the device panel with the current box (3 to 5).
struct DeviceArea {
    enum Control : size_t { kStatusTitle, kStatusAddress, kNoBoxPicture, kSearchAnimation, kDevicePanel, kCount };
    static const std::vector<ControlSpec>& Controls();
    static PageDescription Describe(const Session& session);
};

// Pictures and lines of the install page, with the drop area (and, without a box, the device
// panel's picture under the status lines) in the backdrop. While installing, how far the batch
// has come and the cancel link; after a batch with failures, the link that shows their reasons,
// and the reasons.
struct InstallPage {
    enum Control : size_t {
        kWaitPicture, kReadyPicture, kInstallAnimation, kInstallText, kDonePicture,
        kResultLine1, kResultLine2, kResultLine3, kDropHint,
        kProgressText, kActionLink, kReasonLine0,
        kCount = kReasonLine0 + 5
    };
    static constexpr size_t kReasonLines = kCount - kReasonLine0;
    static const std::vector<ControlSpec>& Controls();
    static PageDescription Describe(const Session& session);
};

// The notice of the tabs whose features are still being built.
struct ConstructionPage {
    enum Control : size_t { kNotice, kCount };
    static const std::vector<ControlSpec>& Controls();
    static PageDescription Describe();
};

}  // namespace ui
