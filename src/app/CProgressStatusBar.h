#pragma once

#include <map>
#include <vector>

#include <QStatusBar>

class QLabel;
class QProgressBar;

// The main status bar: a message pane followed by fixed panes, any of which may
// host a progress bar when its style carries ProgressPaneStyle.
class CProgressStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr unsigned ProgressPaneStyle = 0x2000000;

    struct Pane {
        int id;    // 0 for the message pane
        int width; // pixels; 0 stretches
        unsigned style = 0;
    };

    explicit CProgressStatusBar(QWidget *parent = nullptr);

    // Drops every progress entry, then lays the panes out anew.
    void SetIndicators(const std::vector<Pane> &panes);
    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    int PaneIndex(int id) const;
    void SetPaneText(int index, const QString &text);
    QString PaneText(int index) const;
    QWidget *PaneWidget(int index) const;

    // Progress entries (false when the pane may not host one).
    bool CreateProgress(int index, bool showText);
    // True when the bar changed; it is then due for painting.
    bool SetProgress(int index, int range, int position);
    void ResetProgress(int index, bool remove);
    // -1 when the pane has no entry.
    int Percentage(int index) const;
    QProgressBar *ProgressBar(int index) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry {
        QProgressBar *bar = nullptr;
        int percentage = 0;
        bool showText = false;
    };
    void PlaceBar(int index, Entry &entry);

    std::vector<Pane> m_panes;
    std::vector<QLabel *> m_labels;
    std::map<int, Entry> m_entries;
};
