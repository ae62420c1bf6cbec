#pragma once
#include <QGuiApplication>
#include <QRect>
#include <QWidget>

namespace kel {

// Whether the window system puts a top-level window where the program asks.
// Wayland does not: there the pop-ups that must sit at a place on the main
// window are child widgets of it instead of windows of their own.
inline bool PlacesTopLevelWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// The owner's rectangle in the coordinates a pop-up of it is placed in: the
// screen for a window of its own, the owner itself for a child widget.
inline QRect OwnerRect(const QWidget& owner, bool childOfOwner)
{
    return childOfOwner ? QRect(QPoint(0, 0), owner.size()) : owner.frameGeometry();
}

}  // namespace kel
