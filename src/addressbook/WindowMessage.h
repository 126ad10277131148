// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace dpx {

// A message box owned by `owner` that does not wait for its answer (no nested event loop),
// with the reason under the text when there is one.
void showWindowMessage(QWidget *owner, const QString &text, const QString &detail = {});

} // namespace dpx
