// The message-map macros. Each entry macro ends with a comma, as the maps are written:
//
//   BEGIN_MESSAGE_MAP(CMyFrame, CFrameWnd)
//       ON_WM_CREATE()
//       ON_COMMAND(ID_APP_ABOUT, &CMyFrame::OnAppAbout)
//       ON_COMMAND_RANGE(700, 749, &CMyFrame::OnToggleBar)
//   END_MESSAGE_MAP()
//
// Handlers are named as member pointers (&Class::Handler). Each entry's thunk is a function
// made for that class and handler; a handler of the wrong signature does not compile, and an
// id range whose first id is above its last does not compile either.
#pragma once

#include "afx/cmdtarget.h"
#include "pal/visibility.h"

#include <type_traits>

DV_EXPORTS_BEGIN

namespace afx {

namespace detail {
// Deliberately not constexpr: reaching it while a map is compiled is the compile error.
void message_map_range_first_above_last();
} // namespace detail

// A class's map may name a splice in place of its base class: a type whose static
// GetThisMessageMap gives further entries of the same class (kept apart, as a table built from
// data), chained on to the real base's map. It says so with `kMessageMapSplice`.
template <class Base, class T> constexpr bool isMessageMapBase = std::is_base_of_v<Base, T> || requires {
    Base::kMessageMapSplice;
};

consteval UINT rangeFirst(UINT first, UINT last) {
    if (first > last)
        detail::message_map_range_first_above_last();
    return first;
}

namespace thunk {

template <class T> T& self(CCmdTarget& target) {
    return static_cast<T&>(target);
}

template <class Sig, auto Fn> constexpr void checkSignature() {
    static_assert(std::is_member_function_pointer_v<decltype(Fn)>,
                  "a message-map handler is a member function");
    static_assert(std::is_convertible_v<decltype(Fn), Sig>, "message-map handler has the wrong signature");
}

template <class T, auto Fn> bool command(CCmdTarget& t, AFX_CALL&) {
    checkSignature<void (T::*)(), Fn>();
    (self<T>(t).*Fn)();
    return true;
}
template <class T, auto Fn> bool commandEx(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<BOOL (T::*)(UINT), Fn>();
    return (self<T>(t).*Fn)(c.nID) != FALSE;
}
template <class T, auto Fn> bool commandRange(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<void (T::*)(UINT), Fn>();
    (self<T>(t).*Fn)(c.nID);
    return true;
}
// An update handler that calls ContinueRouting leaves the item to the next target.
template <class T, auto Fn> bool updateUI(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<void (T::*)(CCmdUI*), Fn>();
    CCmdUI* ui = static_cast<CCmdUI*>(c.pExtra);
    ui->m_bContinueRouting = FALSE;
    (self<T>(t).*Fn)(ui);
    const bool handled = !ui->m_bContinueRouting;
    ui->m_bContinueRouting = FALSE;
    return handled;
}
template <class T, auto Fn> bool notify(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<void (T::*)(NMHDR*, LRESULT*), Fn>();
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (self<T>(t).*Fn)(n->pNMHDR, n->pResult);
    return true;
}
template <class T, auto Fn> bool notifyEx(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<BOOL (T::*)(UINT, NMHDR*, LRESULT*), Fn>();
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    return (self<T>(t).*Fn)(c.nID, n->pNMHDR, n->pResult) != FALSE;
}
template <class T, auto Fn> bool notifyRange(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<void (T::*)(UINT, NMHDR*, LRESULT*), Fn>();
    AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);
    (self<T>(t).*Fn)(c.nID, n->pNMHDR, n->pResult);
    return true;
}
template <class T, auto Fn> bool windowMessage(CCmdTarget& t, AFX_CALL& c) {
    checkSignature<LRESULT (T::*)(WPARAM, LPARAM), Fn>();
    c.result = (self<T>(t).*Fn)(c.wParam, c.lParam);
    return true;
}

} // namespace thunk
} // namespace afx

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;                                                        \
                                                                                                             \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                                      \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static_assert(::afx::isMessageMapBase<TheBaseClass, ThisClass>,                                      \
                      #baseClass " is no base of " #theClass);                                               \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                                    \
    { 0, 0, 0, 0, nullptr, nullptr }                                                                         \
    }                                                                                                        \
    ;                                                                                                        \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};             \
    return &messageMap;                                                                                      \
    }

#define DV_CMD_ENTRY(msg, code, id, idLast, thunk)                                                           \
    {static_cast<UINT>(msg),                                                                                 \
     static_cast<UINT>(code),                                                                                \
     static_cast<UINT>(id),                                                                                  \
     static_cast<UINT>(idLast),                                                                              \
     nullptr,                                                                                                \
     thunk},
#define DV_CMD_RANGE(msg, code, id, idLast, thunk)                                                           \
    DV_CMD_ENTRY(msg, code, ::afx::rangeFirst((id), (idLast)), idLast, thunk)

// Commands and their update handlers.
#define ON_COMMAND(id, memberFxn)                                                                            \
    DV_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, (&::afx::thunk::command<ThisClass, memberFxn>))
#define ON_COMMAND_EX(id, memberFxn)                                                                         \
    DV_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, (&::afx::thunk::commandEx<ThisClass, memberFxn>))
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    DV_CMD_RANGE(WM_COMMAND, CN_COMMAND, id, idLast, (&::afx::thunk::commandRange<ThisClass, memberFxn>))
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                           \
    DV_CMD_RANGE(WM_COMMAND, CN_COMMAND, id, idLast, (&::afx::thunk::commandEx<ThisClass, memberFxn>))
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                                  \
    DV_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, (&::afx::thunk::updateUI<ThisClass, memberFxn>))
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                                    \
    DV_CMD_RANGE(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast,                                               \
                 (&::afx::thunk::updateUI<ThisClass, memberFxn>))

// Control notifications that arrive as WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    DV_CMD_ENTRY(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, id,                                         \
                 (&::afx::thunk::command<ThisClass, memberFxn>))
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                 \
    DV_CMD_RANGE(WM_COMMAND, static_cast<WORD>(wNotifyCode), id, idLast,                                     \
                 (&::afx::thunk::commandRange<ThisClass, memberFxn>))
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// Notifications that arrive as WM_NOTIFY. Codes and ids are 16-bit in the map.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    DV_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),         \
                 static_cast<WORD>(id), (&::afx::thunk::notify<ThisClass, memberFxn>))
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                             \
    DV_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),         \
                 static_cast<WORD>(id), (&::afx::thunk::notifyEx<ThisClass, memberFxn>))
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
    DV_CMD_RANGE(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),         \
                 static_cast<WORD>(idLast), (&::afx::thunk::notifyRange<ThisClass, memberFxn>))
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                               \
    DV_CMD_RANGE(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), static_cast<WORD>(id),         \
                 static_cast<WORD>(idLast), (&::afx::thunk::notifyEx<ThisClass, memberFxn>))

// Window messages by number, and registered messages by the variable that holds their number.
#define ON_MESSAGE(message, memberFxn)                                                                       \
    DV_CMD_ENTRY(message, 0, 0, 0, (&::afx::thunk::windowMessage<ThisClass, memberFxn>))
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                   \
    {0xC000u, 0, 0, 0, &(nMessageVariable), (&::afx::thunk::windowMessage<ThisClass, memberFxn>)},

DV_EXPORTS_END
