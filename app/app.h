// What the program does from start to end, kept out of main() so that tests
// can set the application up the same way.
#pragma once

// Style and fonts shared by the program and its tests; needs a QApplication.
void configureApplication();

// Opens the window and runs until it is closed. Without a display, prints one
// line saying so and returns nonzero; when the toolkit cannot start for any
// other reason, prints its reason too.
int runProgram(int argc, char **argv);
