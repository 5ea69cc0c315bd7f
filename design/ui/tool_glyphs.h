#pragma once
// The pictures of the editor's tool buttons: the tool's cursor art where it has one, a drawn
// shape for the outline and filled shapes.

#include <QIcon>

#include "design/ui/design_tool.h"

QIcon ToolGlyph(DesignTool tool);
