#pragma once

#include "rules/Language.h"

// Puts the texts of the windows and of the rules' tables in `language` for
// every window made and every text asked for from now on. The game is
// written in Japanese; its Japanese translations are empty, so that asking
// for Japanese never falls back to anything else.
void useLanguage(Language language);
