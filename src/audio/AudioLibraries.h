// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace dpx {

// The versions of the decoding and resampling libraries in use, for --version.
QString soundFileLibraryVersion();
QString resamplerLibraryVersion();

} // namespace dpx
