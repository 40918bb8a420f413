#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

// A non-negative integer of any size, with just what counting sentences needs: multiplying by a
// small factor, adding, and printing in decimal. The number of different sentences of a theme
// with large word lists does not fit in 128 bits.
class BigUInt {
public:
    BigUInt(quint64 value = 0)
    {
        for (; value; value >>= 32)
            m_limbs.push_back(quint32(value));
    }

    BigUInt& operator*=(quint32 factor)
    {
        quint64 carry = 0;
        for (quint32& limb : m_limbs) {
            const quint64 v = quint64(limb) * factor + carry;
            limb = quint32(v);
            carry = v >> 32;
        }
        if (carry)
            m_limbs.push_back(quint32(carry));
        trim();
        return *this;
    }

    BigUInt& operator+=(const BigUInt& other)
    {
        if (m_limbs.size() < other.m_limbs.size())
            m_limbs.resize(other.m_limbs.size(), 0);
        quint64 carry = 0;
        for (size_t i = 0; i < m_limbs.size(); ++i) {
            const quint64 v
                = quint64(m_limbs[i]) + (i < other.m_limbs.size() ? other.m_limbs[i] : 0) + carry;
            m_limbs[i] = quint32(v);
            carry = v >> 32;
        }
        if (carry)
            m_limbs.push_back(quint32(carry));
        return *this;
    }

    friend BigUInt operator*(BigUInt a, quint32 factor) { return a *= factor; }
    friend BigUInt operator+(BigUInt a, const BigUInt& b) { return a += b; }

    QString toString() const
    {
        if (m_limbs.empty())
            return QStringLiteral("0");
        // Peel off nine decimal digits at a time, least significant group first.
        std::vector<quint32> rest = m_limbs;
        std::vector<quint32> groups;
        while (!rest.empty()) {
            quint64 remainder = 0;
            for (size_t i = rest.size(); i-- > 0;) {
                const quint64 v = (remainder << 32) | rest[i];
                rest[i] = quint32(v / 1000000000u);
                remainder = v % 1000000000u;
            }
            groups.push_back(quint32(remainder));
            while (!rest.empty() && rest.back() == 0)
                rest.pop_back();
        }
        QString text = QString::number(groups.back());
        for (size_t i = groups.size() - 1; i-- > 0;)
            text += QStringLiteral("%1").arg(groups[i], 9, 10, QLatin1Char('0'));
        return text;
    }

private:
    void trim()
    {
        while (!m_limbs.empty() && m_limbs.back() == 0)
            m_limbs.pop_back();
    }

    std::vector<quint32> m_limbs; // least significant first
};
