#include "platform/standard_streams.h"

// A POSIX program always has the streams its parent gave it.
void connectStandardStreams() {}
