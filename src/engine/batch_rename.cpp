#include "engine/batch_rename.h"

#include "engine/text_ops.h"

void runBatchRename(BatchPorts& ports) {
    const int32_t count = ports.rowCount();
    for (int32_t pass = 0; pass < count; ++pass) {
        FileRow row;
        row.path = ports.cellText(0, 1);
        row.name = ports.cellText(0, 0);
        const RuleResult result = applyRenameRule(row, ports.settings());
        if (result.outcome == RuleOutcome::NewPath) {
            ports.renameFile(row.path, result.newPath);
            ports.appendRenameLog(concatText(row.path, kRecordSeparator, result.newPath));
        }
        ports.removeRow(0);
    }
}
