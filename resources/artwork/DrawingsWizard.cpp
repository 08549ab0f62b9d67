// The pictures of the quick start wizard.

#include "resources/artwork/Drawings.h"

namespace vantorel::artwork {

void addWizardDrawings(std::map<QString, Drawing>& /*into*/) {}

}  // namespace vantorel::artwork
