x = a - bskip;
