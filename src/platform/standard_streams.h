#pragma once
// Where a program's standard output and error go when nobody redirected them.

// A Windows GUI program starts without a console, so its --help, --version and usage errors
// would vanish: when it was started from a console, they go there (streams redirected to a file
// or a pipe stay as they are). Elsewhere there is nothing to do.
void connectStandardStreams();
