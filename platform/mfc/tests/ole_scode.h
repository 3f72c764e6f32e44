// The status code a class-library call reports by throwing, for tests of refused calls.
#pragma once

#include "afxdisp.h"

// The status code of a call that throws a COleException, S_OK when it does not.
template <class F> SCODE scodeOf(F call) {
    try {
        call();
    } catch (COleException* e) {
        const SCODE sc = e->m_sc;
        e->Delete();
        return sc;
    }
    return S_OK;
}
