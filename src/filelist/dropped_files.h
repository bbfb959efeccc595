#pragma once

#include <QByteArray>
#include <string>
#include <vector>

#include "engine/byte_text.h"

class FileList;

// The local paths that a text/uri-list names, in its order, as the OS's bytes. Only file: URLs
// with an empty host or "localhost" count; comment lines, other schemes and hosts, and paths
// holding a NUL, CR or LF (which could not be told apart from a list of several paths) are
// left out. Folders lose their trailing separators; the root stays "/".
std::vector<std::string> localPathsFromUriList(const QByteArray& uriList);

// The dropped-path text: one path alone, two or more each followed by CR LF. A path that does
// not convert exactly into the program's code page is left out.
ByteText droppedPathText(const std::vector<std::string>& osPaths);

// Replaces the list with one row per dropped path: the name an exact-path search gives (empty
// for a folder or a path that cannot be found) and the path as dropped.
void listDroppedFiles(const ByteText& droppedPathText, FileList& list);
