#include "ui/main/apps_page.h"

#include <commctrl.h>
#include <shobjidl.h>

#include "adb/app_commands.h"
#include "adb/app_failure_text.h"
#include "adb/shell_mgr.h"
#include "skin_art.h"
#include "ui/main/apps_texts.h"
#include "ui/main/commands.h"
#include "ui/main/uninstall_confirm.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/text/plain_text_wnd.h"

namespace ui {

namespace {

// Where the page's parts stand under the tabs.
constexpr int kLeft = 12, kToolbarTop = 106, kHeaderTop = 136, kHeaderHeight = 24, kListTop = kHeaderTop + kHeaderHeight;
constexpr int kSearchLeft = 52, kSearchWidth = 200, kSearchHeight = 22, kToolbarLeft = 270;
constexpr int kBottomMargin = 34, kRowHeight = 46, kStatusTop = 300, kLoadingTop = 240;
constexpr BYTE kHoverShade = 12;
constexpr COLORREF kSelectedRow = 0xFFE6CC, kRuleColour = 0xE6E6E6;

enum Column { kName, kPackage, kVersion, kSize, kDate, kActions, kColumns };
const wchar_t* const kHeaders[kColumns] = {L"名称", L"包名", L"版本", L"大小", L"安装日期", L"操作"};
const skin::ListColumn kColumnLayout[kColumns] = {{150, 0.4f}, {150, 0.4f}, {70, 0.1f}, {64, 0.1f}, {84, 0}, {170, 0}};
constexpr COLORREF kRowText = 0x333333, kRowDim = 0x888888, kFailedText = 0x0000E0, kDoneText = 0x009000;

template <class Text = skin::CPlainTextWnd>
Text* AddText(CAppsList& list, skin::ListRow& row, int column, int y, int width) {
    return list.CreateRowControl<Text>(row, column, 8, y, width - 12, 20, 0, skin::kSomVisible | skin::kSomTransparent);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    const COLORREF previous = SetDCBrushColor(dc, colour);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, previous);
}

}  // namespace

void CAppsList::DrawRowBackground(HDC dc, bool hover, bool selected, const RECT* rect, int item, LPARAM, DWORD) {
    RECT area{};
    if (rect)
        area = *rect;
    else
        GetClipBox(dc, &area);
    // Rows on the skin's light colour, lit under the pointer, selected ones tinted, each ruled off.
    const bool row = item >= 0;
    FillSolid(dc, area, row && selected ? kSelectedRow : skin::kLightBackground);
    if (!row) return;
    if (hover) skin::Skin()->DarkenRect(dc, area, kHoverShade);
    RECT rule{area.left, area.bottom - 1, area.right, area.bottom};
    FillSolid(dc, rule, kRuleColour);
}

void CAppsPage::Create(HWND window, skin::CSomWndManager& host) {
    window_ = window;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    search_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(cmd::kAppsSearch)), instance, nullptr);
    SendMessageW(search_, WM_SETFONT, reinterpret_cast<WPARAM>(skin::SkinFont(1)), FALSE);
    SendMessageW(search_, EM_LIMITTEXT, 64, 0);

    header_ = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | HDS_HORZ, 0, 0, 0, 0, window,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(cmd::kAppsHeader)), instance, nullptr);
    headerSkin_.Attach(header_);
    for (int i = 0; i < kColumns; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.fmt = HDF_LEFT | HDF_STRING;
        item.pszText = const_cast<wchar_t*>(kHeaders[i]);
        item.cxy = kColumnLayout[i].minWidth;
        SendMessageW(header_, HDM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    headerSkin_.SetSortColumn(kName, true);

    const RECT none{0, 0, 0, 0};
    list_.Create(window, none, cmd::kAppsList, WS_VSCROLL | LBS_MULTIPLESEL | LBS_NOTIFY);
    list_.SetColumns(0, std::vector<skin::ListColumn>(std::begin(kColumnLayout), std::end(kColumnLayout)));
    list_.SetRowHeight(kRowHeight);
    list_.AttachToolTipWindow(list_.Handle());
    ShowWindow(list_.Handle(), SW_HIDE);

    const uint32_t autoSize = skin::kSomAutoSize;
    searchLabel_.Create(&host, nullptr, 0, kLeft, kToolbarTop + 3, 0, 0, 0, autoSize);
    searchLabel_.SetText(L"{&#font=5}{&#color=0x808080}搜索");
    toolbar_.Create(&host, nullptr, 0, kToolbarLeft, kToolbarTop + 3, 0, 0, 0, autoSize);
    status_.Create(&host, nullptr, 0, 0, kStatusTop, 0, 0, 0, autoSize);
    progress_.Create(&host, nullptr, 0, kLeft, 0, 0, 0, 0, autoSize);
    loading_.SetBitmap(skin::Skin()->Bitmap(skin::art::kSmallSpinner), 0);
    loading_.Create(&host, nullptr, 0, 0, kLoadingTop, 0, 0, 0, autoSize);
}

void CAppsPage::Show(bool shown, base::BoxAddress box, int clientWidth, int clientHeight) {
    shown_ = shown;
    Layout(clientWidth, clientHeight);
    if (shown && box != base::kNoBox && (box != model_.Box() || model_.State() == AppsState::NotLoaded)) {
        model_.StartLoading(box);
        Load();
    }
    if (shown && box == base::kNoBox && model_.State() != AppsState::NotLoaded) model_ = AppsModel();
    Render();
}

void CAppsPage::Load() { adb::CShellMgr::Instance()->ListApps(model_.Box()); }

void CAppsPage::RefreshIfListed() {
    if (model_.State() != AppsState::Listed || model_.Busy()) return;
    Load();
}

void CAppsPage::Layout(int width, int height) {
    const int listWidth = width - 2 * kLeft;
    const int listHeight = height - kListTop - kBottomMargin;
    SetWindowPos(search_, nullptr, kSearchLeft, kToolbarTop, kSearchWidth, kSearchHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(header_, nullptr, kLeft, kHeaderTop, listWidth, kHeaderHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(list_.Handle(), nullptr, kLeft, kListTop, listWidth, listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // The header's cells stand over the list's columns.
    const auto& columns = list_.Columns(0);
    for (int i = 0; i < kColumns && i < static_cast<int>(columns.size()); ++i) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        item.cxy = i + 1 == kColumns ? listWidth - columns[i].x : columns[i].width;
        SendMessageW(header_, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    progress_.SetWndPos(kLeft, height - kBottomMargin + 8);
    loading_.SetWndPos((width - loading_.Width()) / 2, kLoadingTop);
}

void CAppsPage::Render() {
    const AppsState state = model_.State();
    const bool listed = shown_ && state == AppsState::Listed;
    for (HWND child : {search_, header_, list_.Handle()}) ShowWindow(child, listed ? SW_SHOWNA : SW_HIDE);
    searchLabel_.SetVisible(listed);
    toolbar_.SetVisible(listed);
    loading_.SetVisible(shown_ && state == AppsState::Loading);

    const wchar_t* status = nullptr;
    std::wstring statusText;
    if (model_.Box() == base::kNoBox || state == AppsState::NotLoaded) statusText = texts::AppsNoBox();
    else if (state == AppsState::Loading) statusText = texts::AppsLoading();
    else if (state == AppsState::BoxGone) statusText = texts::AppsBoxGone();
    if (!statusText.empty()) status = statusText.c_str();
    status_.SetText(status);
    RECT client{};
    GetClientRect(window_, &client);
    status_.SetWndPos((client.right - status_.Width()) / 2, kStatusTop);
    status_.SetVisible(shown_ && status != nullptr);

    const std::wstring progress = texts::AppsProgressLine(lastAction_, model_.Progress());
    progress_.SetText(progress.c_str());
    progress_.SetVisible(shown_ && !progress.empty() && state == AppsState::Listed);
    if (listed) RebuildRows();
}

void CAppsPage::SyncSelectionFromList() {
    for (int item = 0; item < list_.RowCount(); ++item) {
        const skin::ListRow* row = list_.RowAt(item);
        if (!row || row->userData < 0 || static_cast<size_t>(row->userData) >= rowPackages_.size()) continue;
        const bool selected = SendMessageW(list_.Handle(), LB_GETSEL, item, 0) > 0;
        model_.SetSelected(rowPackages_[static_cast<size_t>(row->userData)], selected);
    }
}

void CAppsPage::FillRow(RowControls& controls, const adb::InstalledApp& app) {
    controls.name->SetText(DisplayName(app), 8, kRowText);
    controls.kind->SetText(app.system ? L"系统应用" : L"", 1, kRowDim);
    controls.package->SetText(app.package, 1, kRowDim);
    controls.version->SetText(app.versionName, 1, kRowText);
    controls.size->SetText(SizeText(app.bytes), 1, kRowText);
    controls.date->SetText(DayText(app.updated), 1, kRowText);
    controls.links->SetText(texts::AppRowLinks(app.launchable.value_or(true)).c_str());
    const AppOutcome* outcome = model_.Outcome(app.package);
    const COLORREF color = !outcome                                   ? kRowDim
                           : outcome->kind == AppOutcome::Kind::Failed ? kFailedText
                           : outcome->kind == AppOutcome::Kind::Done   ? kDoneText
                                                                       : kRowDim;
    const std::wstring said = outcome ? texts::AppOutcomeText(*outcome) : L"";
    controls.outcome->SetText(said, 1, color);
    // A failure's whole reason; an export's copy with its whole path.
    const bool failed = outcome && outcome->kind == AppOutcome::Kind::Failed;
    controls.outcome->SetTipText(failed || !outcome ? said : outcome->detail);
}

void CAppsPage::RebuildRows() {
    const std::vector<const adb::InstalledApp*> visible = model_.Visible();
    std::vector<std::wstring> packages;
    for (const adb::InstalledApp* app : visible) packages.push_back(app->package);
    // The same rows in the same order are filled in where they stand: a row made anew under the
    // pointer would lose a click that is under way.
    if (packages == rowPackages_ && rowControls_.size() == packages.size()) {
        for (size_t i = 0; i < visible.size(); ++i) FillRow(rowControls_[i], *visible[i]);
        toolbar_.SetText(texts::AppsToolbar(model_.ShowsSystem(), model_.SelectedVisible().size()).c_str());
        return;
    }
    HWND list = list_.Handle();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    list_.DeleteAllRows();
    rowControls_.clear();
    rowPackages_ = std::move(packages);
    const auto& columns = list_.Columns(0);
    const auto width = [&](int column) { return column < static_cast<int>(columns.size()) ? columns[column].width : 80; };
    for (size_t i = 0; i < visible.size(); ++i) {
        RowControls controls;
        const int item = list_.InsertRow(-1, static_cast<LPARAM>(i), [&](skin::ListRow& row) {
            controls.name = AddText(list_, row, kName, 4, width(kName));
            controls.kind = AddText(list_, row, kName, 24, width(kName));
            controls.package = AddText(list_, row, kPackage, 13, width(kPackage));
            controls.version = AddText(list_, row, kVersion, 13, width(kVersion));
            controls.size = AddText(list_, row, kSize, 13, width(kSize));
            controls.date = AddText(list_, row, kDate, 13, width(kDate));
            controls.links = list_.CreateRowControl<skin::CSomTextWnd>(
                row, kActions, 8, 4, 0, 0, 0, skin::kSomVisible | skin::kSomAutoSize | skin::kSomTransparent);
            controls.outcome =
                AddText<skin::CSomWndTipImpl<skin::CPlainTextWnd>>(list_, row, kActions, 24, width(kActions));
        });
        FillRow(controls, *visible[i]);
        rowControls_.push_back(controls);
        if (item >= 0 && model_.IsSelected(visible[i]->package)) SendMessageW(list, LB_SETSEL, TRUE, item);
    }
    list_.SetEmptyContent(nullptr, texts::AppsEmpty(!model_.Filter().empty()), nullptr, 0x808080);
    SendMessageW(list, LB_SETTOPINDEX, top, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    toolbar_.SetText(texts::AppsToolbar(model_.ShowsSystem(), model_.SelectedVisible().size()).c_str());
}

void CAppsPage::OnCommand(WORD id, WORD code, LPARAM data) {
    const auto rowPackage = [&]() -> std::wstring {
        return data >= 0 && static_cast<size_t>(data) < rowPackages_.size() ? rowPackages_[static_cast<size_t>(data)]
                                                                             : std::wstring();
    };
    switch (id) {
    case cmd::kAppsSearch: {
        if (code != EN_CHANGE) return;
        wchar_t text[80] = {};
        GetWindowTextW(search_, text, 80);
        SyncSelectionFromList();
        model_.SetFilter(text);
        Render();
        return;
    }
    case cmd::kAppsList:
        if (code != LBN_SELCHANGE) return;
        SyncSelectionFromList();
        toolbar_.SetText(texts::AppsToolbar(model_.ShowsSystem(), model_.SelectedVisible().size()).c_str());
        return;
    case cmd::kAppsShowSystem:
        SyncSelectionFromList();
        model_.SetShowSystem(!model_.ShowsSystem());
        Render();
        return;
    case cmd::kAppsRefresh:
        if (model_.Busy()) return;
        model_.StartLoading(model_.Box());
        Load();
        Render();
        return;
    case cmd::kAppsUninstallSelected:
    case cmd::kAppsExportSelected:
        SyncSelectionFromList();
        Act(id == cmd::kAppsUninstallSelected ? AppAction::Uninstall : AppAction::Export, model_.SelectedVisible());
        return;
    case cmd::kAppOpen: Act(AppAction::Open, {rowPackage()}); return;
    case cmd::kAppUninstall: Act(AppAction::Uninstall, {rowPackage()}); return;
    case cmd::kAppExport: Act(AppAction::Export, {rowPackage()}); return;
    default: return;
    }
}

void CAppsPage::Act(AppAction action, std::vector<std::wstring> packages) {
    std::erase_if(packages, [&](const std::wstring& package) { return model_.Find(package) == nullptr; });
    if (packages.empty() || model_.Busy()) return;
    if (action == AppAction::Uninstall) {
        const std::wstring name = packages.size() == 1 ? DisplayName(*model_.Find(packages.front())) : L"";
        CUninstallConfirm confirm(name, packages.size());
        if (confirm.DoModal(window_) != IDOK) return;
    }
    std::wstring folder;
    if (action == AppAction::Export && (folder = PickFolder()).empty()) return;

    SyncSelectionFromList();
    lastAction_ = action;
    std::vector<adb::InstalledApp> apps;
    for (const std::wstring& package : packages) apps.push_back(*model_.Find(package));
    const std::vector<int32_t> cookies = model_.BeginActions(action, packages);
    adb::CShellMgr& engine = *adb::CShellMgr::Instance();
    const base::BoxAddress box = model_.Box();
    std::vector<std::pair<std::wstring, int32_t>> uninstalls;
    for (size_t i = 0; i < cookies.size(); ++i) {
        const adb::InstalledApp& app = apps[i];
        bool asked = true;
        if (action == AppAction::Open) asked = engine.OpenApp(box, app.package, cookies[i]);
        if (action == AppAction::Export)
            asked = engine.ExportApp(box,
                                     {app.package, folder, adb::ExportName(app.label, app.package, app.versionName),
                                      app.bytes, app.apkPaths},
                                     cookies[i]);
        if (action == AppAction::Uninstall) uninstalls.emplace_back(app.package, cookies[i]);
        if (!asked) model_.OnActionResult(cookies[i], false, adb::AppFailureText(L""));
    }
    if (!uninstalls.empty() && !engine.Uninstall(box, uninstalls))
        for (const auto& [package, cookie] : uninstalls) model_.OnActionResult(cookie, false, adb::AppFailureText(L""));
    Render();
}

void CAppsPage::OnResult(const adb::ShellResult& result) {
    switch (result.kind) {
    case adb::ShellTaskKind::ListApps:
        if (result.code == adb::NoListing)
            model_.OnListingFailed(result.ip);
        else
            model_.OnListed(result.ip, result.apps);
        break;
    case adb::ShellTaskKind::OpenApp:
    case adb::ShellTaskKind::Uninstall:
    case adb::ShellTaskKind::ExportApp: {
        const bool succeeded = result.code == adb::Success;
        model_.OnActionResult(result.cookie, succeeded, succeeded ? result.path : adb::AppFailureText(result.output));
        break;
    }
    default: return;
    }
    SyncSelectionFromList();
    Render();
}

std::wstring CAppsPage::PickFolder() {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return {};
    std::wstring folder;
    DWORD options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
    dialog->SetTitle(L"选择导出到的文件夹");
    IShellItem* start = nullptr;
    if (!exportFolder_.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(exportFolder_.c_str(), nullptr, IID_PPV_ARGS(&start)))) {
        dialog->SetFolder(start);
        start->Release();
    }
    IShellItem* picked = nullptr;
    if (SUCCEEDED(dialog->Show(window_)) && SUCCEEDED(dialog->GetResult(&picked))) {
        wchar_t* path = nullptr;
        if (SUCCEEDED(picked->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
            folder = path;
            CoTaskMemFree(path);
        }
        picked->Release();
    }
    dialog->Release();
    if (!folder.empty()) exportFolder_ = folder;
    return folder;
}

}  // namespace ui
