; Inventory - a small PureBasic example project for PB Sourcetrek
; Open it, then try "All Proc-Calls", "Search..." and a double-click on a row.

EnableExplicit

XIncludeFile "include/common.pbi"   ; constants and globals come first
IncludePath "include"
IncludeFile "stock.pbi"
IncludeFile "report.pbi"
XIncludeFile "include/common.pbi"   ; included once only

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
  Debug "Main() finished: " + Str(count)
EndProcedure

Procedure.s Describe(name$)
  ProcedureReturn "Item " + name$
EndProcedure

Procedure Unused()
  Debug "nobody calls me"
EndProcedure

Main()
