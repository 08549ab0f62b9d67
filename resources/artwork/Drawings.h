#pragma once

// The add-in's pictures as vector drawings. Each draws into the square 0..100 of the
// painter's coordinates; the generator scales the painter to the target size, so every
// size is drawn afresh rather than resampled.

#include <QPainter>
#include <QString>

#include <functional>
#include <map>

namespace vantorel::artwork {

using Drawing = std::function<void(QPainter&)>;

// By resource prefix without the scale ("IMG_ALARM", "ICO_REMINDER").
const std::map<QString, Drawing>& drawings();

// The pictures of single windows, each kept in a file of its own.
void addTemplateEditDrawings(std::map<QString, Drawing>& into);  // DrawingsTemplateEdit.cpp
void addWizardDrawings(std::map<QString, Drawing>& into);        // DrawingsWizard.cpp
void addAboutDrawings(std::map<QString, Drawing>& into);         // DrawingsAbout.cpp

}  // namespace vantorel::artwork
