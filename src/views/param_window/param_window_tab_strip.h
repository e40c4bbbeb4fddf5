#pragma once

#include <QList>
#include <QRect>
#include <QString>

class QGroupBox;
class QWidget;

// A tab strip whose frames lie over it: one frame per tab, and exactly the frame of the selected
// tab is shown. The tabs run along the strip's bottom edge, below the frames.
struct TabStripLayout {
    const char* strip_name;  // objectName of the QTabBar
    const char* frame_array; // frames are "<frame_array>_<k>"
    int count;
    QRect strip; // twips, in the parent
    QRect frame; // twips, in the parent
    QString (*tab_caption)(int frame);
    QString (*frame_caption)(int frame);
    bool tight_tabs = false; // many tabs on a narrow strip
};

// Builds the strip with its first tab selected and frame 0 shown; returns the frames in tab order.
QList<QGroupBox*> BuildTabStrip(QWidget* parent, const TabStripLayout& layout);
