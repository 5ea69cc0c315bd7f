#pragma once
// The cover: title, a sharp preview in the floss colours, sizes, colours and stitches, the
// notes, the page map, the date and the program.

class PageCanvas;
class PatternPrintout;

void PaintCoverPage(PageCanvas& canvas, const PatternPrintout& printout);
