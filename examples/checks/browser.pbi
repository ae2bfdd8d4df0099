; The browser's state: fields and variables whose names begin with "Procedure".
Structure RGBA
  r.a : g.a : b.a : a.a
EndStructure

Structure BrowserState
  ProcedureBrowserScroll.l
  ProcedureBrowserSort.i
  *Highlight.HighlightCallback
EndStructure

Global ProcedureBrowserSort = 0

Declare OnlyOnce()

Procedure OnlyOnce() : Debug "once" : EndProcedure