#include "engine/rename_log.h"

#include "engine/text_ops.h"

const ByteText kRenameLogName(
    "\xC1\xD9\xCA\xB1\xC8\xD5\xD6\xBE\xCE\xC4\xBC\xFE\xA3\xAC\xC8\xF4\xB2\xBB\xD3\xC3\xC7\xEB"
    "\xC9\xBE\xB3\xFD\xBC\xB4\xBF\xC9.ini");

ByteSequence renameLogLine(const ByteText& record) {
    // Byte by byte, not by characters: a broken two-byte character must not hide a line break.
    ByteSequence line;
    line.reserve(record.size() + 2);
    for (const char c : record.view()) {
        if (c == '\r') {
            line += "\\r";
        } else if (c == '\n') {
            line += "\\n";
        } else {
            line += c;
        }
    }
    return concatBytes(line, ByteSequence("\r\n"));
}

void appendRenameLog(const ByteText& record, LogStore& store) {
    store.append(renameLogLine(record));
}
