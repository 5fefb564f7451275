#pragma once

#include <QtGlobal>
#include <string>

// What the game says when it cannot open its window, and how it reports a
// problem where nobody could answer a box.

// Says on standard error why the window cannot open (`reason`) and how to
// play on a virtual display.
void SayNoDisplay(const char* programName, const char* reason);

// Call just before the QApplication is made, and restore the handler it
// returns just after. Qt cannot start without a window system it can reach
// (a display that does not answer, an unknown -platform) and would abort; in
// that moment the game says that it needs a display and exits with status 1.
QtMessageHandler ExitWithAdviceIfNoWindowSystem(const char* programName);

// False on the offscreen and minimal platforms, which show nothing to anyone.
bool SomeoneCanAnswerABox();

// A problem that ends the program: always on standard error, and in a box
// too where someone can answer it.
void ReportFatal(const std::string& title, const std::string& text);
