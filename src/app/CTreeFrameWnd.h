#pragma once

#include "app/CSubFrame.h"

// The inner frame hosting the catalog tree.
class CTreeFrameWnd : public CSubFrame {
    Q_OBJECT
public:
    using CSubFrame::CSubFrame;
};
