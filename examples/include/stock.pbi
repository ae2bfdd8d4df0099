; Stock keeping: adding items and valuing the stock.

Procedure InitStock()
  Shared StockCount
  StockCount = 0
  LogLine ("stock cleared")            ; called above its head: needs a Declare
EndProcedure

Procedure.i AddItem(name$, quantity.i, price.f)
  If StockCount >= #MaxItems
    ProcedureReturn StockCount
  EndIf
  Stock(StockCount)\Name$ = name$
  Stock(StockCount)\Quantity = Clamp(quantity, 0, 10000)
  Stock(StockCount)\Price = price
  StockCount + 1
  LogLine("added " + name$)
  ProcedureReturn StockCount
EndProcedure

Procedure.f StockValue()
  Protected i, total.f
  For i = 0 To StockCount - 1
    total + Stock(i)\Quantity * Stock(i)\Price
  Next
  ProcedureReturn total
EndProcedure

Procedure LogLine(text$)
  Static lines.i
  lines + 1
  Debug Str(lines) + ": " + text$
EndProcedure
