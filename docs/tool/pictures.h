#pragma once

#include <QString>

namespace zelvo_docs {

// Draws every picture of the documentation into `folder` as PNG files:
// shape-1.png to shape-5.png, play-mode-1.png to play-mode-4.png and
// tone-fa.png ... tone-ed.png. False when a file cannot be written.
bool draw_pictures(const QString& folder);

}  // namespace zelvo_docs
