#pragma once

#include "modules/mdlsubs.h"

#include <QList>

#include <stdexcept>

// A uniform source that returns given values in order, for checking the exact order of draws.
class ScriptedSource : public mdlSubs::UniformSource {
public:
    explicit ScriptedSource(QList<double> values, int* used)
        : m_values(std::move(values))
        , m_used(used)
    {
        *m_used = 0;
    }
    float next() override
    {
        if (*m_used >= m_values.size())
            throw std::out_of_range("the script ran out of values");
        return float(m_values.at((*m_used)++));
    }

private:
    QList<double> m_values;
    int* m_used;
};

// The value that makes RandomBetween(count - 1, 0) give entry.
inline double pick(int entry, int count)
{
    return (entry + 0.5) / count;
}
