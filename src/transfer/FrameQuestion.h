#pragma once
// The question put before a frame that would cover part of the logo.
#include "document/GlyphaneDoc.h"

class QWidget;

// Asks over owner through the UI seam whether the frame may still be drawn.
CGlyphaneDoc::FrameQuestion AskFrameMayCoverLogo(QWidget* owner);
