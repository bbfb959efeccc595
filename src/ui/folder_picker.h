#pragma once

#include <QString>

class QWidget;

// The modal folder dialog: folders only, opening at the root, with a field to type a folder.
// Gives the confirmed folder's path, or the empty text when the user cancels.
QString showSystemFolderDialog(QWidget* parent, const QString& prompt);
