// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text as a call-action template and as the caller's name: a template that passes
// the check fills without error, a web address keeps an allowed scheme and the name never
// leaks into it unencoded, and a program's argument count never depends on the name.
#include "integration/CallAction.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const auto kind = data[0] & 1 ? dpx::ActionKind::Program : dpx::ActionKind::Url;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const qsizetype cut = text.indexOf(u'\n');
    const QString templateText = cut < 0 ? text : text.left(cut);
    dpx::CallFacts facts;
    facts.number = QStringLiteral("0223456789");
    facts.name = cut < 0 ? QStringLiteral("a b") : text.mid(cut + 1);
    if (!dpx::templateProblem(kind, templateText).isEmpty())
        return 0;
    const dpx::ActionLaunch launch = dpx::fillAction({dpx::ActionWhen::Ring, kind, templateText}, facts);
    if (kind == dpx::ActionKind::Url) {
        const QString scheme = launch.url.scheme().toLower();
        if (launch.error.isEmpty() && scheme != u"http" && scheme != u"https" && scheme != u"mailto")
            std::abort();
        return 0;
    }
    dpx::CallFacts other = facts;
    other.name = QStringLiteral("x");
    if (!launch.error.isEmpty()
        || launch.arguments.size() != dpx::fillAction({dpx::ActionWhen::Ring, kind, templateText}, other).arguments.size())
        std::abort();
    return 0;
}
