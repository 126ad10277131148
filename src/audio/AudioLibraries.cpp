// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/AudioLibraries.h"

#include <sndfile.h>
#include <soxr.h>

namespace dpx {

QString soundFileLibraryVersion()
{
    return QString::fromLatin1(sf_version_string()); // "libsndfile-1.2.0"
}

QString resamplerLibraryVersion()
{
    return QString::fromLatin1(soxr_version()); // "libsoxr-0.1.3"
}

} // namespace dpx
