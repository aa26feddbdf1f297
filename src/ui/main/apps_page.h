#pragma once
// The app-management tab: the current box's apps in the skinned list under its header, a search
// field that filters as one types, the system-app toggle, and per row the links that start,
// uninstall (after the skinned confirmation) and export an app; several rows can be selected for
// either action. Loading shows the toolkit's animation; a box that went away, a message with the
// search-again link. What it knows is an AppsModel; the engine does the work.
#include <windows.h>

#include <string>
#include <vector>

#include "adb/shell_records.h"
#include "ui/main/apps_model.h"
#include "ui/skin/header/som_header_ctrl.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/image/som_image_wnd.h"
#include "ui/skin/list/lf_list_box.h"
#include "ui/skin/text/plain_text_wnd.h"
#include "ui/skin/text/som_text_wnd.h"
#include "ui/skin/tooltip/som_wnd_tip_impl.h"

namespace ui {

// The skin's list with its selected rows shaded: several can be selected at once.
class CAppsList : public skin::CLFListBox {
public:
    void DrawRowBackground(HDC dc, bool hover, bool selected, const RECT* rect, int item, LPARAM userData,
                           DWORD extra) override;
};

class CAppsPage {
public:
    // Its windows are children of the main window, its captions controls of the window's host.
    void Create(HWND window, skin::CSomWndManager& host);
    // Shown for the current box (kNoBox: none yet) or hidden; a box not listed yet is listed now.
    void Show(bool shown, base::BoxAddress box, int clientWidth, int clientHeight);
    // The page's commands (cmd::kAppsFirst ... kAppsLast) with their code and the sender's data.
    void OnCommand(WORD id, WORD code, LPARAM data);
    // The engine's results of listings and of the page's actions; others are not the page's.
    void OnResult(const adb::ShellResult& result);
    // The apps changed on the box (an install batch ended): listed again when a list is shown.
    void RefreshIfListed();

private:
    void Load();
    void Render();
    // The controls of a row, filled again when the row's app changes.
    struct RowControls {
        skin::CPlainTextWnd *name = nullptr, *kind = nullptr, *package = nullptr, *version = nullptr,
                            *size = nullptr, *date = nullptr;
        // Its cell shows the start of a long reason; the pointer over it shows all of it.
        skin::CSomWndTipImpl<skin::CPlainTextWnd>* outcome = nullptr;
        skin::CSomTextWnd* links = nullptr;
    };
    void RebuildRows();
    void FillRow(RowControls& controls, const adb::InstalledApp& app);
    void SyncSelectionFromList();
    void Act(AppAction action, std::vector<std::wstring> packages);
    void Layout(int width, int height);
    std::wstring PickFolder();

    HWND window_ = nullptr;
    bool shown_ = false;
    AppsModel model_;
    AppAction lastAction_ = AppAction::Open;
    std::vector<std::wstring> rowPackages_;  // a row's user data is its index here
    std::vector<RowControls> rowControls_;
    std::wstring exportFolder_;              // the last folder picked, offered first next time

    HWND search_ = nullptr;
    HWND header_ = nullptr;
    skin::CLFHeaderCtrl headerSkin_;
    CAppsList list_;
    skin::CSomTextWnd searchLabel_;
    skin::CSomTextWnd toolbar_;
    skin::CSomTextWnd status_;
    skin::CSomTextWnd progress_;
    skin::CSomAnimation loading_;
};

}  // namespace ui
