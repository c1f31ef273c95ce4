#pragma once

// Where an export reports its progress (the status bar's indicator).
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    // Starts an indicator over `total` items that moves every `perStep` items;
    // false when there is none, and the export then runs without it.
    virtual bool Begin(int total, int perStep) = 0;
    // One item done.
    virtual void Step() = 0;
    virtual void End() = 0;
    // Whether the user stopped the export: the rows after this one are not written.
    virtual bool Cancelled() const { return false; }
};
