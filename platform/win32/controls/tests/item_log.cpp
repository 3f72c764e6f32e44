#include "item_log.h"

#include <gtest/gtest.h>

namespace controlstest {
namespace {

std::string narrow(const wchar_t* text) {
    if (!text)
        return "null";
    std::string out = "\"";
    for (const wchar_t* c = text; *c; ++c)
        out += static_cast<char>(*c < 128 ? *c : '?');
    return out + "\"";
}

std::string stateChange(UINT oldState, UINT newState) {
    std::string out;
    const UINT gained = newState & ~oldState, lost = oldState & ~newState;
    for (auto [bit, name] : {std::pair{LVIS_SELECTED, "S"}, std::pair{LVIS_FOCUSED, "F"}}) {
        if (gained & bit)
            out += std::string("+") + name;
        if (lost & bit)
            out += std::string("-") + name;
    }
    return out;
}

} // namespace

std::string describe(const NMHDR* h) {
    const auto* lv = reinterpret_cast<const NMLISTVIEW*>(h);
    const auto* tv = reinterpret_cast<const NMTREEVIEWW*>(h);
    auto item = [&] { return std::to_string(lv->iItem); };
    auto treeText = [&](HTREEITEM n) {
        if (!n)
            return std::string("none");
        wchar_t text[64] = {};
        TVITEMW get{};
        get.mask = TVIF_TEXT;
        get.hItem = n;
        get.pszText = text;
        get.cchTextMax = 64;
        SendMessageW(h->hwndFrom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&get));
        return narrow(text);
    };
    const char* actions[] = {"unknown", "mouse", "keyboard"};
    switch (h->code) {
    case LVN_ITEMCHANGING:
        return "LVN_ITEMCHANGING " + item() + " " + stateChange(lv->uOldState, lv->uNewState);
    case LVN_ITEMCHANGED:
        return "LVN_ITEMCHANGED " + item() + " " + stateChange(lv->uOldState, lv->uNewState);
    case LVN_INSERTITEM:
        return "LVN_INSERTITEM " + item();
    case LVN_DELETEITEM:
        return "LVN_DELETEITEM " + item();
    case LVN_DELETEALLITEMS:
        return "LVN_DELETEALLITEMS";
    case LVN_COLUMNCLICK:
        return "LVN_COLUMNCLICK " + std::to_string(lv->iSubItem);
    case LVN_BEGINDRAG:
        return "LVN_BEGINDRAG " + item();
    case LVN_BEGINRDRAG:
        return "LVN_BEGINRDRAG " + item();
    case LVN_ITEMACTIVATE:
        return "LVN_ITEMACTIVATE " + item();
    case LVN_KEYDOWN:
        return "LVN_KEYDOWN " + std::to_string(reinterpret_cast<const NMLVKEYDOWN*>(h)->wVKey);
    case LVN_BEGINLABELEDITW: {
        const auto* di = reinterpret_cast<const NMLVDISPINFOW*>(h);
        return "LVN_BEGINLABELEDITW " + std::to_string(di->item.iItem) + " " + narrow(di->item.pszText);
    }
    case LVN_ENDLABELEDITW: {
        const auto* di = reinterpret_cast<const NMLVDISPINFOW*>(h);
        return "LVN_ENDLABELEDITW " + std::to_string(di->item.iItem) + " " + narrow(di->item.pszText);
    }
    case LVN_GETDISPINFOW:
        return "LVN_GETDISPINFOW " + std::to_string(reinterpret_cast<const NMLVDISPINFOW*>(h)->item.iItem);
    case LVN_ODSTATECHANGED: {
        const auto* c = reinterpret_cast<const NMLVODSTATECHANGE*>(h);
        return "LVN_ODSTATECHANGED " + std::to_string(c->iFrom) + "-" + std::to_string(c->iTo) + " " +
               stateChange(c->uOldState, c->uNewState);
    }
    case LVN_ODCACHEHINT: {
        const auto* c = reinterpret_cast<const NMLVCACHEHINT*>(h);
        return "LVN_ODCACHEHINT " + std::to_string(c->iFrom) + "-" + std::to_string(c->iTo);
    }
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK: {
        std::string name = h->code == NM_CLICK    ? "NM_CLICK"
                           : h->code == NM_DBLCLK ? "NM_DBLCLK"
                                                  : "NM_RCLICK";
        wchar_t cls[32] = {};
        GetClassNameW(h->hwndFrom, cls, 32);
        if (std::wstring(cls) == WC_LISTVIEWW)
            name += " " + std::to_string(reinterpret_cast<const NMITEMACTIVATE*>(h)->iItem);
        return name;
    }
    case NM_RETURN:
        return "NM_RETURN";
    case NM_SETFOCUS:
        return "NM_SETFOCUS";
    case NM_KILLFOCUS:
        return "NM_KILLFOCUS";
    case NM_CUSTOMDRAW: {
        const auto* cd = reinterpret_cast<const NMCUSTOMDRAW*>(h);
        std::string stage;
        switch (cd->dwDrawStage) {
        case CDDS_PREPAINT:
            stage = "PREPAINT";
            break;
        case CDDS_POSTPAINT:
            stage = "POSTPAINT";
            break;
        case CDDS_ITEMPREPAINT:
            stage = "ITEMPREPAINT " + std::to_string(cd->dwItemSpec);
            break;
        case CDDS_ITEMPOSTPAINT:
            stage = "ITEMPOSTPAINT " + std::to_string(cd->dwItemSpec);
            break;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            stage = "SUBITEMPREPAINT " + std::to_string(cd->dwItemSpec) + "." +
                    std::to_string(reinterpret_cast<const NMLVCUSTOMDRAW*>(h)->iSubItem);
            break;
        default:
            stage = std::to_string(cd->dwDrawStage);
        }
        return "NM_CUSTOMDRAW " + stage;
    }
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGEDW:
        return std::string(h->code == TVN_SELCHANGINGW ? "TVN_SELCHANGING " : "TVN_SELCHANGED ") +
               treeText(tv->itemOld.hItem) + ">" + treeText(tv->itemNew.hItem) + " " +
               actions[tv->action % 3];
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
        return std::string(h->code == TVN_ITEMEXPANDINGW ? "TVN_ITEMEXPANDING " : "TVN_ITEMEXPANDED ") +
               treeText(tv->itemNew.hItem) + (tv->action == TVE_EXPAND ? " expand" : " collapse");
    case TVN_BEGINDRAGW:
        return "TVN_BEGINDRAG " + treeText(tv->itemNew.hItem);
    case TVN_DELETEITEMW:
        return "TVN_DELETEITEM " + treeText(tv->itemOld.hItem);
    case TVN_KEYDOWN:
        return "TVN_KEYDOWN " + std::to_string(reinterpret_cast<const NMTVKEYDOWN*>(h)->wVKey);
    case TVN_BEGINLABELEDITW:
    case TVN_ENDLABELEDITW: {
        const auto* di = reinterpret_cast<const NMTVDISPINFOW*>(h);
        return std::string(h->code == TVN_BEGINLABELEDITW ? "TVN_BEGINLABELEDIT " : "TVN_ENDLABELEDIT ") +
               narrow(di->item.pszText);
    }
    case TTN_SHOW:
        return "TTN_SHOW";
    case TTN_POP:
        return "TTN_POP";
    case TTN_GETDISPINFOW:
        return "TTN_GETDISPINFOW " + std::to_string(h->idFrom);
    case HDN_ITEMCLICKW:
    case HDN_BEGINTRACKW:
    case HDN_TRACKW:
    case HDN_ENDTRACKW:
    case HDN_ITEMCHANGINGW:
    case HDN_ITEMCHANGEDW: {
        static const std::map<UINT, std::string> names = {{HDN_ITEMCLICKW, "HDN_ITEMCLICK"},
                                                          {HDN_BEGINTRACKW, "HDN_BEGINTRACK"},
                                                          {HDN_TRACKW, "HDN_TRACK"},
                                                          {HDN_ENDTRACKW, "HDN_ENDTRACK"},
                                                          {HDN_ITEMCHANGINGW, "HDN_ITEMCHANGING"},
                                                          {HDN_ITEMCHANGEDW, "HDN_ITEMCHANGED"}};
        return names.at(h->code) + " " + std::to_string(reinterpret_cast<const NMHEADERW*>(h)->iItem);
    }
    case TCN_SELCHANGING:
        return "TCN_SELCHANGING";
    case TCN_SELCHANGE:
        return "TCN_SELCHANGE";
    case TCN_KEYDOWN:
        return "TCN_KEYDOWN";
    default:
        return "WM_NOTIFY " + std::to_string(static_cast<int>(h->code));
    }
}

void ItemControlTest::SetUp() {
    ControlTest::SetUp();
    const INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                     ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&init));
    answer = [this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message != WM_NOTIFY)
            return false;
        const auto* h = reinterpret_cast<const NMHDR*>(lParam);
        if (onNotify)
            onNotify(h);
        const bool noisy = h->code == NM_CUSTOMDRAW || h->code == LVN_GETDISPINFOW ||
                           h->code == LVN_ODCACHEHINT || h->code == TVN_GETDISPINFOW ||
                           h->code == LVN_ITEMCHANGING || h->code == LVN_INSERTITEM ||
                           h->code == NM_SETFOCUS || h->code == NM_KILLFOCUS;
        if (!(quietPaint && noisy))
            log.push_back(describe(h));
        const auto reply = replies.find(h->code);
        result = reply == replies.end() ? 0 : reply->second;
        return true;
    };
}

} // namespace controlstest
