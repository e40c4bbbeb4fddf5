#pragma once

#include "app/batch_console.h"
#include "app/batch_job.h"
#include "files/parameter_file.h"
#include "params/memory_param_boxes.h"

// What the batch mode's compares share, and the compare of two files, which needs no line.

// The window's box names a file it cannot read by its bare name and gives no reason; a script's
// log wants the path and the reason, so the file is tried first. Only an ordinary file (or none)
// is opened: a FIFO under the name would block.
bool ReadableInBatch(const QString& path, BatchConsole& console);

// Each parameter that `boxes` shows differing from the file compared (or missing from it), as a
// line of the result: number;value shown;value in the file; then the verdict, «Все 506
// параметров <same>» or «Значения N параметров <differ>», and the exit status it makes.
BatchExit PrintDifferences(BatchConsole& console, const MemoryParamBoxes& boxes,
                           const ComparedFile& compared, const QString& same,
                           const QString& differ);

// --batch compare-files: the first file's values compared with the second's as the window's
// «Сравнить файлы…» compares them; neither the port nor the configuration file is touched.
BatchExit CompareFilesInBatch(const BatchJob& job, BatchConsole& console);
