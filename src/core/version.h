#pragma once
// The project's version, as the build sets it once for every program.
const char* projectVersion();
