#pragma once

#include "core/settings/AppLanguage.h"

#include <QStringList>

namespace lumivex {

class KeyValueStore;

// What the command line asks for. Arguments that begin with "-" are options, everything else is a file.
struct LaunchOptions {
    QStringList files;
    QStringList options;

    static LaunchOptions parse(const QStringList& arguments);
    bool has(const QString& option) const { return options.contains(option); }
};

namespace Launch {

// Whether a display server is reachable for the chosen Qt platform; checked before the application object
// exists so that a missing display gives a clear message instead of Qt's abort.
bool displayAvailable();
QString noDisplayMessage();
// The interface language: the user's choice in the settings (the language override), else the desktop's.
AppLanguage chosenLanguage(const KeyValueStore& store);
// The translation table's name for a language ("lumivex_zh_Hans"); empty for Korean, the source language.
QString translationFile(AppLanguage language);
// Loads the chosen language's translation into the application (Korean needs none; English stands in for a
// language without a table).
void installTranslations();

} // namespace Launch

} // namespace lumivex
