// The one guard by which bulk changes defer their table's view updates.
#include "components/mox/MoxDeferredViews.h"

#include "components/mox/MoxData.h"

MoxDeferredViews::MoxDeferredViews(MoxData& data) : m_data(data), m_outermost(data.m_viewUpdate != 0)
{
    if (!m_outermost)
        return;
    m_data.m_viewUpdate = 0;
    m_data.Update(0, -1, TRUE);
}

MoxDeferredViews::~MoxDeferredViews()
{
    if (!m_outermost)
        return;
    m_data.m_viewUpdate = 1;
    m_data.Update(0, -1, TRUE);
}
