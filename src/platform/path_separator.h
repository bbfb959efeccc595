#pragma once

// The folder separator of the file system.
inline constexpr char kPathSeparator = '/';
