// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// One command read into its parts: the verb, then the comma-separated
// arguments in parentheses, each a name with an optional bracketed list of
// values, as in set(1000, func[3, 1]). Only the shape is checked here; what
// the names and values mean is the station's business.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

class ParsedCommand
{
public:
    struct Argument
    {
        QByteArray name;
        // Blank-trimmed, surrounding double quotes removed.
        QList<QByteArray> values;
        bool hasValues = false;

        friend bool operator==(const Argument &, const Argument &) = default;
    };

    // An invalid command results when the text is not verb(arguments).
    static ParsedCommand parse(QByteArrayView text);

    bool isValid() const { return m_valid; }
    const QByteArray &verb() const { return m_verb; }
    const QList<Argument> &arguments() const { return m_arguments; }

private:
    bool parseArguments(QByteArrayView inner);

    QByteArray m_verb;
    QList<Argument> m_arguments;
    bool m_valid = false;
};
