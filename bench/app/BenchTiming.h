// SPDX-License-Identifier: GPL-3.0-or-later
// Timing helpers shared by the application's benchmark programs.
#pragma once

#include <QElapsedTimer>
#include <QList>

#include <algorithm>

namespace dpx::bench {

inline double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

template <typename F> double timeMs(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

} // namespace dpx::bench
