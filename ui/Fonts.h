#pragma once

// Reading the desktop's font configuration takes a good share of the time
// before the first window can be painted. Where Qt reads it through
// fontconfig, this starts the reading on a thread of its own, to run while
// QApplication connects to the display; installFontSubstitutions() waits for
// it. Call it first thing in main(), before the QApplication is made.
void startReadingFonts();

// The windows name the Japanese faces of the Windows desktop. Where those are
// missing, the IPA faces stand in for them (and Noto CJK after them). Must run
// before the first window is created.
void installFontSubstitutions();
