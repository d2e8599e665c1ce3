#pragma once

#include "app/atlas.h"

#include <QStringList>

#include <memory>

// The built-in atlas with its names in the first of the given languages
// (as QLocale::uiLanguages() gives them, "pt-BR", "fr") that the place data
// has names for, a regional language falling back to its plain form; English
// when none has. Look-ups also find every place by its English name.
// MakeSystemAtlas() is this with the user's interface languages.
std::unique_ptr<Atlas> MakeBuiltinAtlas(const QStringList &uiLanguages);
