// Holds a table's views back during a change of many cells, which they then show at once
// instead of repainting after every cell.
#pragma once

class MoxData;

// Guards nest (a bulk change may run inside another, a hook may start one): only the
// outermost one, the one that finds the table's switch on, turns it off (refreshing the views
// first) and on again (refreshing them after the writes). Inner guards, and guards over a
// table a host switched off itself, leave the switch alone.
class MoxDeferredViews {
public:
    explicit MoxDeferredViews(MoxData& data);
    ~MoxDeferredViews();
    MoxDeferredViews(const MoxDeferredViews&) = delete;
    MoxDeferredViews& operator=(const MoxDeferredViews&) = delete;

private:
    MoxData& m_data;
    bool m_outermost;
};
