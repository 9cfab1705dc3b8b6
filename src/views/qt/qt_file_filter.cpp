#include "views/qt/qt_file_filter.h"

#include <QString>

namespace vmu {

QStringList QtNameFilters(const std::string& windows_filter) {
  const QStringList parts = QString::fromStdString(windows_filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      const QString pattern = p.trimmed();
      if (pattern.isEmpty()) continue;
      patterns << (pattern == "*.*" ? QStringLiteral("*") : pattern);
    }
    if (patterns.isEmpty()) continue;
    const QString joined = patterns.join(' ');
    // Qt takes the patterns from the last parentheses: make them ours.
    if (description.endsWith(')') && description.lastIndexOf('(') >= 0) {
      description = description.left(description.lastIndexOf('(')).trimmed();
    }
    if (description.isEmpty()) description = joined;
    description += " (" + joined + ")";
    filters << description;
  }
  return filters;
}

}  // namespace vmu
