#pragma once

// The windows name the Japanese faces of the Windows desktop. Where those are
// missing, the IPA faces stand in for them (and Noto CJK after them). Must run
// before the first window is created.
void installFontSubstitutions();
