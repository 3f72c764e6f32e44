#include "panels/SysPanelControls.h"

CSyspanelEdit::CSyspanelEdit(const wchar_t* name, int kind, double initial)
    : m_name(name != nullptr ? name : L""), m_kind(kind), m_value(initial) {}

CSyspanelEdit::CSyspanelEdit(const wchar_t* name, int kind, double initial, int rangeFirst, int rangeLast)
    : CSyspanelEdit(name, kind, initial) {
    m_rangeFirst = rangeFirst;
    m_rangeLast = rangeLast;
}
