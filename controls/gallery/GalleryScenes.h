#pragma once
#include <QImage>
#include <QString>
#include <vector>

// Renders of the skinned controls for kel-skin-gallery.
namespace kel::gallery {

struct Shot {
    QString name;
    QImage image;
};

std::vector<Shot> ButtonShots();
std::vector<Shot> ProgressShots();
std::vector<Shot> PopupShots();
std::vector<Shot> WindowShots();

}  // namespace kel::gallery
