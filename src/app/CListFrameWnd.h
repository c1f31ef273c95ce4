#pragma once

#include "app/CSubFrame.h"

// The inner frame hosting the result grid.
class CListFrameWnd : public CSubFrame {
    Q_OBJECT
public:
    using CSubFrame::CSubFrame;
};
