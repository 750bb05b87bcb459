#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Where the incident logs go: a private folder of the user's own cache location, one new
// file per report that no other run or running instance can take or overwrite.
namespace IncidentLog {

// <the user's cache location>/VELTRIS AED/Incident Logs.
QString reportFolder();
// The report file of a log number: <reportFolder>/veltris_aed<N>.html.
QString reportPath(int32_t number);

// Writes bytes as a new report file and returns its number: the first N from
// firstNumber on whose name nothing in the folder has. The folder is made when missing
// and kept owner-only (0700); the file is created exclusively (O_EXCL), owner-only (0600).
// Throws FileError naming the folder or the file when either cannot be made or written;
// a file that could not be written whole is removed.
int32_t writeNewReport(int32_t firstNumber, const QByteArray &bytes);

} // namespace IncidentLog
