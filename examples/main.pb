; Inventory - a small PureBasic example project for PB Sourcetrek
; Open it, then try "All Proc-Calls", "Search..." and a double-click on a row.

EnableExplicit

XIncludeFile "include/common.pbi"   ; constants and globals come first
IncludePath "include"
IncludeFile "stock.pbi"
IncludeFile "report.pbi"
XIncludeFile "include/common.pbi"   ; included once only

Declare Tidy(all.i)                 ; differs: the head of Tidy takes no parameter

Global AppTitle$ = "Inventory; demo"

Procedure Main()
  Protected count.i, total.f
  InitStock()
  count = AddItem("Bolt", 120, 0.15)
  count = AddItem("Nut", 300, 0.05)
  count = additem("Washer", 80, 0.02)   ; other letter case
  total = StockValue()
  PrintReport(total)
  ; PrintReport(0) is only a comment
  Tidy()
  CreateThread(@AutoSave(), 0)        ; a callback: live, though no line calls it by name
  Debug "Main() finished: " + Str(count)
EndProcedure

Procedure.s Describe(name$)
  ProcedureReturn "Item " + name$
EndProcedure

Procedure Tidy()
  StockCount = 0
EndProcedure

Declare AutoSave(*value)            ; too late: Main, above, takes its address already
Procedure AutoSave(*value)
  Debug "saved"
EndProcedure

Procedure Compress()
  Debug "compressed"
EndProcedure

Procedure Archive()                 ; only called by Unused, so unused too
  Compress()
EndProcedure

Procedure Unused()
  Debug "nobody calls me"
  Archive()
EndProcedure

ProcedureDLL.i ItemCount()          ; exported from a DLL: live
  ProcedureReturn StockCount
EndProcedure

Main()

; Modules: each Area is listed with its own calls
IncludeFile "shapes.pbi"

Debug Geo::Area(2, 3)
Debug Text::Area("x")
UseModule Geo
Debug Area(1,1)   ; Geo's Area, since Geo is in use
