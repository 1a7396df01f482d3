// Selects a narrow code page for one test and puts the previous one back, since the
// selection is process-wide and other tests expect CP932.
#pragma once

#include "platform/text/CodePage.h"

class NarrowCodePageGuard {
public:
    explicit NarrowCodePageGuard(plat::NarrowCodePage codePage) : m_previous(plat::GetNarrowCodePage())
    {
        plat::SetNarrowCodePage(codePage);
    }
    NarrowCodePageGuard(const NarrowCodePageGuard&) = delete;
    NarrowCodePageGuard& operator=(const NarrowCodePageGuard&) = delete;
    ~NarrowCodePageGuard() { plat::SetNarrowCodePage(m_previous); }

private:
    plat::NarrowCodePage m_previous;
};
