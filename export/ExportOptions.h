#pragma once

// What an export of a case carries besides its data.
struct ExportOptions
{
    // No patient field, time of day or date, serial number or text a reviewer typed: times
    // count from power-on (EDF+: from the first sample) and a reviewer's annotation keeps
    // only its kind.
    bool anonymize = false;
    bool withCompressions = false; // EDF+: one annotation per compression of the CPR feedback
};
