// How the reader and the engine report failures: a constant message, or null for success.
// Only the outermost entry points (load_3ds, world_load, tools) print it and end the process.
#pragma once

using EngineError = const char*;

// Prints the message and a line end on standard output and ends the process with code 1.
[[noreturn]] void engine_fail(EngineError error);
