#pragma once

// A windowed program on Windows has no console of its own. Started from one (a command prompt, a
// batch file), it writes its standard output and error there, unless they were redirected, so
// that --help, --version and the batch mode answer where they were asked. The console shows the
// text in the system's code page, in which Qt writes it, and gets its own back at the end.
void WriteToStartingConsole();
