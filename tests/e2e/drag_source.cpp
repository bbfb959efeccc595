// A drag source for the end-to-end tests: a small window that starts a real drag when it is
// pressed, so that xdotool can carry files or text onto the program over XDND like a user
// dragging from a file manager or an editor.
//
//   e2e_drag_source [--at X,Y] [--file PATH]... [--text TEXT]
//       Shows a 120x80 window named "e2e drag source" at X,Y. A left press starts a drag
//       (Copy) carrying the files as file URLs, in the order given, and/or the text. It prints
//       one line on stdout for each step: "drag started"; "drag over <action>" whenever the
//       window under the pointer changes its answer (none when it refuses); and when the drag
//       ends, "drag accepted <action>" or "drag ignored". Then it waits for the next press.
//   e2e_drag_source --clipboard
//       Prints the clipboard's text with C escapes (\r, \n, \\) and a newline, then ends.

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QList>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace {

struct DragContent {
    QList<QUrl> urls;
    QString text;
    bool hasText = false;
};

void printLine(const QByteArray& line) {
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray actionName(Qt::DropAction action) {
    switch (action) {
        case Qt::CopyAction: return "copy";
        case Qt::MoveAction: return "move";
        case Qt::LinkAction: return "link";
        case Qt::IgnoreAction: return "none";
        default: return QByteArray::number(static_cast<int>(action));
    }
}

class DragSource : public QWidget {
public:
    explicit DragSource(DragContent content) : content_(std::move(content)) {
        setWindowTitle(QStringLiteral("e2e drag source"));
        setFixedSize(120, 80);
        setStyleSheet(QStringLiteral("background: #3060c0;"));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        auto* mime = new QMimeData;
        if (!content_.urls.isEmpty()) mime->setUrls(content_.urls);
        if (content_.hasText) mime->setText(content_.text);
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        connect(drag, &QDrag::actionChanged,
                [](Qt::DropAction action) { printLine("drag over " + actionName(action)); });
        printLine("drag started");
        const Qt::DropAction result = drag->exec(Qt::CopyAction);
        printLine(result == Qt::IgnoreAction ? QByteArray("drag ignored")
                                             : "drag accepted " + actionName(result));
    }

private:
    DragContent content_;
};

QByteArray escaped(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

int usage() {
    std::fputs("usage: e2e_drag_source [--at X,Y] [--file PATH]... [--text TEXT] | --clipboard\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);

    if (args == QStringList{QStringLiteral("--clipboard")}) {
        // Asking another client for the selection needs the event loop running.
        QTimer::singleShot(0, [] {
            printLine(escaped(QApplication::clipboard()->text()));
            QApplication::quit();
        });
        return QApplication::exec();
    }

    DragContent content;
    int x = 0;
    int y = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (i + 1 >= args.size()) return usage();
        const QString& value = args[++i];
        if (arg == QLatin1String("--file")) {
            content.urls.append(QUrl::fromLocalFile(value));
        } else if (arg == QLatin1String("--text")) {
            content.text = value;
            content.hasText = true;
        } else if (arg == QLatin1String("--at")) {
            const QStringList xy = value.split(QLatin1Char(','));
            bool okX = false;
            bool okY = false;
            if (xy.size() != 2) return usage();
            x = xy[0].toInt(&okX);
            y = xy[1].toInt(&okY);
            if (!okX || !okY) return usage();
        } else {
            return usage();
        }
    }
    if (content.urls.isEmpty() && !content.hasText) return usage();

    DragSource source(content);
    source.move(x, y);
    source.show();
    return QApplication::exec();
}
