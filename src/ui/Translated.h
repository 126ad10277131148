// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QObject;

namespace dpx {

// Sets a text property ("text", "title", "windowTitle", "toolTip", "placeholderText") of a
// widget or action to the translation of source, and keeps the source on the object: when
// the language changes later, the property is set again in the new language. Mark the source
// for the translation tools (tr() / QT_TR_NOOP in the class, QT_TRANSLATE_NOOP in tables);
// context is the class's translation context ("dpx::PhoneBookWindow").
void setTranslated(QObject *object, const char *property, const char *context, const char *source);

// The same with the context of a QObject class (its class name, as tr() uses).
template <class Owner>
void setTranslated(QObject *object, const char *property, const Owner *owner, const char *source)
{
    setTranslated(object, property, owner->metaObject()->className(), source);
}

} // namespace dpx
