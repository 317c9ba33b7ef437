#pragma once
// The response record: four parallel arrays (numbers, names, date-and-ID texts, bodies) with
// lower bound 0. After converting N dat lines every array has elements 0..N; element N is the
// empty trailing element. Before the first conversion the arrays hold no elements at all.
// Beside them the mail fields, which only the comment filter reads: a record assigned without
// them answers an empty mail for every element.

#include <QString>
#include <QStringList>
#include <optional>

class ResponseRecord
{
public:
    // Highest index, or -1 when the arrays hold no elements.
    int upperBound() const { return int(m_numbers.size()) - 1; }
    bool isEmpty() const { return m_numbers.isEmpty(); }

    QStringList numbers() const { return m_numbers; }
    QStringList names() const { return m_names; }
    QStringList times() const { return m_times; }
    QStringList bodies() const { return m_bodies; }

    // One element; std::nullopt for an index outside the bounds (an error for the caller).
    std::optional<QString> number(int i) const { return at(m_numbers, i); }
    std::optional<QString> name(int i) const { return at(m_names, i); }
    std::optional<QString> time(int i) const { return at(m_times, i); }
    std::optional<QString> body(int i) const { return at(m_bodies, i); }
    QString mail(int i) const { return at(m_mails, i).value_or(QString()); }

    // Replaces the whole record; the four lists must have equal sizes.
    void assign(QStringList numbers, QStringList names, QStringList times, QStringList bodies)
    {
        m_numbers = std::move(numbers);
        m_names = std::move(names);
        m_times = std::move(times);
        m_bodies = std::move(bodies);
        m_mails.clear();
    }
    // The mail fields of the record just assigned, one per element.
    void setMails(QStringList mails) { m_mails = std::move(mails); }

    // The state after Stop: a single empty element in each array.
    void resetToSingleEmpty()
    {
        m_numbers = m_names = m_times = m_bodies = QStringList{QString()};
        m_mails.clear();
    }

private:
    static std::optional<QString> at(const QStringList &list, int i)
    {
        if (i < 0 || i >= list.size())
            return std::nullopt;
        return list.at(i);
    }

    QStringList m_numbers;
    QStringList m_names;
    QStringList m_times;
    QStringList m_bodies;
    QStringList m_mails;
};
