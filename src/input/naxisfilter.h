#ifndef N_AXISFILTER_H
#define N_AXISFILTER_H
//------------------------------------------------------------------------------
/**
    @class nAxisFilter
    @ingroup Input

    Smooths an axis over its last few values: a history of 2 to 8 values,
    newest in slot 0, read as their average.
*/
#include "kernel/ntypes.h"

class nAxisFilter
{
public:
    enum { MaxHistory = 8 };

    nAxisFilter() { this->SetHistorySize(4); }

    /// Side effects: the size (capped at 8) and a zeroed history.
    void SetHistorySize(int historySize)
    {
        n_assert(historySize > 1);
        this->size = (historySize > MaxHistory) ? MaxHistory : historySize;
        this->invSize = 1.0f / float(this->size);
        for (float& h : this->history) h = 0.0f;
    }
    int GetHistorySize() const { return this->size; }

    /// Side effects: every value moves one slot older; v is the newest.
    void Push(float v)
    {
        for (int i = MaxHistory - 1; i > 0; i--) this->history[i] = this->history[i - 1];
        this->history[0] = v;
    }

    /// Results: the average of the first size slots.
    float GetAverage() const
    {
        float sum = 0.0f;
        for (int i = 0; i < this->size; i++) sum += this->history[i];
        return sum * this->invSize;
    }

    float Get(int index) const
    {
        n_assert((index >= 0) && (index < this->size));
        return this->history[index];
    }

private:
    int size = 4;
    float invSize = 0.25f;
    float history[MaxHistory] = {};
};
#endif
